#include "app/sim_panel.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

#include "platform/sim_machine.h"

namespace korvex {

QString PinLevels(uint8_t value) {
    return QString::number(value, 2).rightJustified(8, '0');
}

SimPanel::SimPanel(SimulatedMachine& sim, uint16_t baseAddress, const SimSurface& surface,
                   const std::function<void(const SimSurface&)>& shape, QWidget* parent)
    : QGroupBox(QStringLiteral("Simulovaný stroj / simulated machine"), parent),
      sim_(sim),
      base_(baseAddress) {
    setObjectName("simPanel");
    // The switches on the first line, what the machine shows on the second.
    auto* lines = new QVBoxLayout(this);
    lines->setSpacing(2);
    lines->setContentsMargins(6, 2, 6, 2);
    auto* switches = new QHBoxLayout;
    auto* readouts = new QHBoxLayout;
    lines->addLayout(switches);
    lines->addLayout(readouts);
    auto* emergency = new QCheckBox(QStringLiteral("nouzový vstup / emergency input"), this);
    emergency->setObjectName("simEmergency");
    auto* probe = new QCheckBox(QStringLiteral("sonda / probe"), this);
    probe->setObjectName("simProbe");
    probe->setChecked(sim.probePlaced());
    QCheckBox* limits[3];
    for (int a = 0; a < 3; ++a) {
        const QChar axis = QChar("XYZ"[a]);
        limits[a] = new QCheckBox(QStringLiteral("min %1").arg(axis), this);
        limits[a]->setObjectName(QStringLiteral("simLimit%1").arg(axis));
        limits[a]->setToolTip(QStringLiteral("koncový spínač / limit switch held closed"));
        connect(limits[a], &QCheckBox::toggled, this,
                [this, a](bool on) { sim_.holdLimit(a, on); });
    }
    carriages_ = new QLabel(this);
    carriages_->setObjectName("simCarriages");
    carriages_->setToolTip(QStringLiteral("vozíky (kroky) / carriages (steps)"));
    pins_ = new QLabel(this);
    pins_->setObjectName("simPins");
    pins_->setToolTip(
        QStringLiteral("piny registrů data, status, control / the pins of the data, "
                       "status and control registers"));
    pins_->setStyleSheet("font-family: monospace;");
    carriages_->setStyleSheet("font-family: monospace;");
    switches->addWidget(emergency);
    switches->addWidget(probe);
    for (QCheckBox* limit : limits) switches->addWidget(limit);
    switches->addStretch(1);
    readouts->addWidget(carriages_);
    readouts->addSpacing(24);
    readouts->addWidget(pins_);
    readouts->addStretch(1);
    // The material's shape: one value each, the three together to `shape`.
    auto shaped = std::make_shared<SimSurface>(surface);
    const std::pair<const char*, double SimSurface::*> values[] = {{"simTiltX", &SimSurface::tiltX},
                                                                   {"simTiltY", &SimSurface::tiltY},
                                                                   {"simBow", &SimSurface::bow}};
    const char* tips[] = {"náklon v X na 100 mm / tilt in X over 100 mm",
                          "náklon v Y na 100 mm / tilt in Y over 100 mm",
                          "prohnutí v X / bow along X"};
    for (int i = 0; i < 3; ++i) {
        auto* box = new QDoubleSpinBox(this);
        box->setObjectName(values[i].first);
        box->setRange(-10, 10);
        box->setDecimals(2);
        box->setSingleStep(0.1);
        box->setSuffix(" mm");
        box->setToolTip(QString::fromUtf8(tips[i]));
        box->setValue(surface.*values[i].second);
        readouts->addWidget(box);
        connect(box, &QDoubleSpinBox::valueChanged, this,
                [shaped, shape, member = values[i].second](double v) {
                    shaped.get()->*member = v;
                    shape(*shaped);
                });
    }
    connect(emergency, &QCheckBox::toggled, this, [this](bool on) { sim_.pressEmergency(on); });
    connect(probe, &QCheckBox::toggled, this, [this](bool on) { sim_.placeProbe(on); });
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, [this] { refresh(); });
    timer->start(100);
    refresh();
}

void SimPanel::refresh() {
    carriages_->setText(QStringLiteral("X %1  Y %2  Z %3")
                            .arg(sim_.position(0))
                            .arg(sim_.position(1))
                            .arg(sim_.position(2)));
    pins_->setText(QStringLiteral("D %1  S %2  C %3")
                       .arg(PinLevels(sim_.dataRegister()))
                       .arg(PinLevels(sim_.in(static_cast<uint16_t>(base_ + 1))))
                       .arg(PinLevels(sim_.controlRegister())));
}

}  // namespace korvex
