#pragma once
// The simulated machine's panel, shown only on the "sim" backend: trip
// and release the emergency input, take the probe away, hold a limit
// switch closed, and watch the carriages and the port's pins.

#include <QGroupBox>

class QLabel;

namespace korvex {

class SimulatedMachine;

class SimPanel final : public QGroupBox {
  public:
    SimPanel(SimulatedMachine& sim, uint16_t baseAddress, QWidget* parent);
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
