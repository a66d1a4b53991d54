#include "cli/stop_operator.h"

#include <cstring>

#include "log/text.h"
#include "motion/executor.h"
#include "motion/port.h"
#include "platform/sim_machine.h"

namespace korvex::cli {

StopOperator::StopOperator(Machine& m, const std::string& port, SimulatedMachine* sim,
                           std::FILE* terminal)
    : m_(m), releasesItself_(ReleasesItself(port)), sim_(sim), terminal_(terminal) {}

bool StopOperator::ReleasesItself(const std::string& port) {
    return port == "sim" || port == "none";
}

bool StopOperator::answer() {
    if (ended_) return false;
    // A stop the emergency input still holds waits for the input first.
    if (!m_.signals.estopActive.load() || m_.gate.count() == 0 || m_.signals.emergencyInput.load())
        return true;
    if (!releasesItself_) return ask();
    m_.log.say({"korvex-cli: úloha zastavila stroj: sonda odebrána, uvolněno",
                "korvex-cli: the job raised the emergency stop: probe removed, released"},
               true, false);
    if (sim_) sim_->placeProbe(false);
    ReleaseEmergencyStop(m_);
    return true;
}

bool StopOperator::ask() {
    if (!terminal_) {
        end(
            {"korvex-cli: úloha čeká na obsluhu (výměna nástroje, pauza nebo sonda) a žádný "
             "terminál neodpoví: úloha končí na zastávce",
             "korvex-cli: the job waits for the operator (tool change, pause or probe) and no "
             "terminal is there to answer: the job ends at the stop"});
        return false;
    }
    for (;;) {
        m_.log.say({"korvex-cli: úloha čeká na obsluhu (výměna nástroje, pauza nebo sonda). "
                    "Enter = pokračovat, q = ukončit úlohu s resetem zásobníku",
                    "korvex-cli: the job waits for the operator (tool change, pause or probe). "
                    "Enter = go on, q = end the job with a buffer reset"},
                   true, false);
        char line[64];
        if (!std::fgets(line, sizeof line, terminal_)) {
            end({"korvex-cli: terminál se zavřel: úloha končí na zastávce",
                 "korvex-cli: the terminal closed: the job ends at the stop"});
            return false;
        }
        const std::string answer(line, std::strcspn(line, "\r\n"));
        if (answer == "q" || answer == "Q") {
            // The reset is taken before the release, so the held move makes
            // no further pulse.
            RequestBufferReset(m_);
            ReleaseEmergencyStop(m_);
            end({"korvex-cli: úloha ukončena obsluhou, zásobník vynulován",
                 "korvex-cli: the job was ended by the operator, the buffer reset"});
            return false;
        }
        if (!answer.empty()) continue;
        if (ReleaseEmergencyStop(m_)) return true;
        m_.log.line(kEmergencyInputStillActive, true, false);
    }
}

void StopOperator::end(Text why) {
    m_.log.say(why, true, false);
    ended_ = true;
}

}  // namespace korvex::cli
