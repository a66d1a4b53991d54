#include "ui/controller.h"

#include <utility>

#include "platform/qimage_canvas.h"
#include "ui/state_line.h"
#include "ui/window_view.h"

namespace korvex {

Controller::Controller(FilePlaces where, RigOptions rig)
    : places(std::move(where)),
      moduleDir(places.configDir),
      rigOptions(std::move(rig)),
      pictures(MakeQImageCanvas) {
    LoadFactoryDefaults(machine.settings);
    machine.buffer.addAppendObserver([this](const MotionCommand& c) { track.queued(c); });
}

Controller::Controller(const std::string& moduleDir, RigOptions rig)
    : Controller(FilePlaces{moduleDir, moduleDir, PlaceKind::ProgramFolder}, std::move(rig)) {}

Controller::~Controller() {
    stopMotion();
}

void Controller::startMotion() {
    if (!motion_) motion_ = std::make_unique<MotionRig>(machine, rigOptions, simSurface_);
}

void Controller::setSimSurface(const SimSurface& surface) {
    simSurface_ = surface;
    if (motion_) motion_->setSimSurface(surface);
}

void Controller::showReliefOutline() {
    track.outline(JobName(DialogKind::Relief), raster.width * relief.multiple,
                  raster.height * relief.multiple, relief.zOffset + relief.depth);
}

void Controller::stopMotion() {
    motion_.reset();
}

const std::string& Controller::portName() const {
    static const std::string none;
    return motion_ ? motion_->portName() : none;
}

std::string CountryOfLocale(const std::string& locale) {
    static const std::pair<const char*, const char*> kCountries[] = {
        {"CZ", "CZE"}, {"SK", "SVK"}, {"DE", "DEU"}, {"AT", "AUT"}, {"PL", "POL"},
        {"GB", "GBR"}, {"US", "USA"}, {"FR", "FRA"}, {"IT", "ITA"}, {"ES", "ESP"},
        {"HU", "HUN"}, {"NL", "NLD"}, {"CA", "CAN"}, {"AU", "AUS"}, {"IE", "IRL"}};
    const size_t underscore = locale.find('_');
    if (underscore == std::string::npos || underscore + 3 > locale.size()) return {};
    std::string code = locale.substr(underscore + 1, 2);
    for (const auto& [two, three] : kCountries)
        if (code == two) return three;
    return code;
}

}  // namespace korvex
