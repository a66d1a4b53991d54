#include "motion/probing.h"

#include "motion/rounding.h"
#include "platform/host.h"

namespace korvex {

void ProbeToolLength(Machine& m, Host& host) {
    const MachineSettings& s = m.settings;
    const std::string question = Caption(
        m.log.language(),
        {"Položte pod nástroj dotykovou sondu a stiskněte [OK] \n nástroj musí být vypnut \n 1. "
         "nástroj se spustí pomalu dolu dokud nedostane signál od sondy \n 2. po signálu od sondy "
         "vyjede pomalu o nastavený kus (přejezd nad materiálem) nahoru - vyjměte sondu \n 3. po "
         "odblokování EmergencyStop se přesune nad materiál",
         "Put sonde under tool and press [OK] \n tool must be off \n 1. toll goes slow down to "
         "push sonde \n 2. when sonda send signal, tool goes slow UP (u must getout sonde) \n 3. "
         "after uncheck EmergencyStop, tool goes under material"});
    if (host.messageBox("info", question, Buttons::OkCancel, Icon::Information) != Answer::Ok)
        return;
    if (m.buffer.freeSlots() <= 4) {
        m.log.say({"neni dostatek bufferu pro vykonání 4 prikazu",
                   "not enought memory of buffern to execute 4 command"},
                  true, true);
        return;
    }
    const int32_t period = PeriodUs(s.moveSpeedZ, s.mmPerStepZ);
    const int32_t height = MmToSteps(s.safeHeight, s.mmPerStepZ);
    AppendCommand(m, 0, 0, TravelSteps(s, 2), period, 1, 0, 1, 0, 0);
    AppendCommand(m, 0, 0, -height, period, 1, 0, 0, 0, kStopRemoveProbe);
    AppendCommand(m, 0, 0, height, period, 1, 0, 0, 0, 0);
    AppendCommand(m, 0, 0, MmToSteps(s.sensorDepth - s.safeHeight, s.mmPerStepZ), period, 1, 0, 0,
                  0, 0);
}

}  // namespace korvex
