#include "motion/access_hints.h"

#include "motion/machine.h"
#include "platform/port_io.h"

namespace korvex {

void ExplainPortRefusal(Machine& m, const PortIo& io) {
    if (!io.accessDenied()) return;
    if (io.name() == "rawio") {
        m.log.say({"Port rawio potřebuje práva roota; bez nich použijte --port ppdev:/dev/parport0 "
                   "(skupina lp)",
                   "The rawio port needs root; without it use --port ppdev:/dev/parport0 (the lp "
                   "group)"},
                  true, false);
        return;
    }
    SayFormatted(m.log,
                 {"%s: přístup odepřen; přidejte se do skupiny lp (sudo adduser $USER lp) a "
                  "přihlaste se znovu",
                  "%s: access denied; join the lp group (sudo adduser $USER lp) and log in again"},
                 true, false, io.name().c_str());
}

void ExplainPriorityRefusal(Machine& m) {
    m.log.say({"Priorita nepovolena: zapište '@lp - rtprio 50' a '@lp - nice -20' do "
               "/etc/security/limits.d/korvex.conf, buďte ve skupině lp a přihlaste se znovu",
               "Priority not permitted: put '@lp - rtprio 50' and '@lp - nice -20' into "
               "/etc/security/limits.d/korvex.conf, be in the lp group and log in again"},
              true, false);
}

}  // namespace korvex
