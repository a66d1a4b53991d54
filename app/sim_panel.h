#pragma once
// The simulated machine's panel, shown only on the "sim" backend: trip
// and release the emergency input, take the probe away, hold a limit
// switch closed, warp the material (tilt in X and Y, bow; mm), and watch
// the carriages and the port's pins.

#include <QGroupBox>
#include <functional>

#include "motion/motion_rig.h"

class QLabel;

namespace korvex {

class SimulatedMachine;

class SimPanel final : public QGroupBox {
  public:
    // `surface`: the material's shape as it starts; `shape` changes it.
    SimPanel(SimulatedMachine& sim, uint16_t baseAddress, const SimSurface& surface,
             const std::function<void(const SimSurface&)>& shape, QWidget* parent);
    // Reads the carriages and the registers again.
    void refresh();

  private:
    SimulatedMachine& sim_;
    uint16_t base_;
    QLabel* carriages_;
    QLabel* pins_;
};

// "10010110": a register's bits, the highest first.
QString PinLevels(uint8_t value);

}  // namespace korvex
