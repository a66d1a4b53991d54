#include "app/sim_panel.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QTimer>

#include "platform/sim_machine.h"

namespace korvex {

QString PinLevels(uint8_t value) {
    return QString::number(value, 2).rightJustified(8, '0');
}

SimPanel::SimPanel(SimulatedMachine& sim, uint16_t baseAddress, QWidget* parent)
    : QGroupBox(QStringLiteral("Simulovaný stroj / simulated machine"), parent),
      sim_(sim),
      base_(baseAddress) {
    setObjectName("simPanel");
    auto* layout = new QHBoxLayout(this);
    auto* emergency = new QCheckBox(QStringLiteral("nouzový vstup / emergency input"), this);
    emergency->setObjectName("simEmergency");
    auto* probe = new QCheckBox(QStringLiteral("sonda / probe"), this);
    probe->setObjectName("simProbe");
    probe->setChecked(sim.probePlaced());
    carriages_ = new QLabel(this);
    carriages_->setObjectName("simCarriages");
    pins_ = new QLabel(this);
    pins_->setObjectName("simPins");
    pins_->setStyleSheet("font-family: monospace;");
    carriages_->setStyleSheet("font-family: monospace;");
    layout->addWidget(emergency);
    layout->addWidget(probe);
    layout->addWidget(carriages_, 1);
    layout->addWidget(pins_, 1);
    connect(emergency, &QCheckBox::toggled, this, [this](bool on) { sim_.pressEmergency(on); });
    connect(probe, &QCheckBox::toggled, this, [this](bool on) { sim_.placeProbe(on); });
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, [this] { refresh(); });
    timer->start(100);
    refresh();
}

void SimPanel::refresh() {
    carriages_->setText(QStringLiteral("vozíky / carriages X %1  Y %2  Z %3")
                            .arg(sim_.position(0))
                            .arg(sim_.position(1))
                            .arg(sim_.position(2)));
    pins_->setText(QStringLiteral("data %1  status %2  control %3")
                       .arg(PinLevels(sim_.dataRegister()))
                       .arg(PinLevels(sim_.in(static_cast<uint16_t>(base_ + 1))))
                       .arg(PinLevels(sim_.controlRegister())));
}

}  // namespace korvex
