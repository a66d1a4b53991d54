#pragma once
// The application object: the one machine, the models of every job kind,
// the values the jobs share and the module directory. A front end owns one
// for the program's run; a test builds its own and throws it away.

#include <memory>
#include <string>

#include "drilling/drill_set.h"
#include "gcode/gcode_import.h"
#include "machining/job_values.h"
#include "machining/raster_image.h"
#include "machining/relief_job.h"
#include "motion/machine.h"
#include "motion/motion_rig.h"
#include "settings/file_places.h"
#include "ui/height_map_dialog.h"
#include "ui/job_track.h"
#include "ui/operator_state.h"
#include "ui/recent_files.h"
#include "vector/vector_job.h"
#include "vector/vector_model.h"
#include "vector/vector_preview.h"

namespace korvex {

class Controller {
  public:
    // `rig` chooses the port backend and the clock the machine starts on.
    Controller(FilePlaces places, RigOptions rig);
    // Every file in `moduleDir`.
    Controller(const std::string& moduleDir, RigOptions rig);
    ~Controller();
    Controller(const Controller&) = delete;
    Controller& operator=(const Controller&) = delete;

    // Starts the port, the clock, the tables and the executor on the
    // settings in force; stopMotion() joins the executor and switches the
    // outputs off. Window thread.
    void startMotion();
    void stopMotion();
    bool motionRunning() const { return motion_ != nullptr; }
    // The simulated machine while the "sim" backend runs; else null.
    SimulatedMachine* sim() { return motion_ ? motion_->sim() : nullptr; }
    // The simulated material's shape, kept over restarts of the machine.
    void setSimSurface(const SimSurface& surface);
    const SimSurface& simSurface() const { return simSurface_; }
    const std::string& portName() const;
    // The relief queues nothing to follow: the preview shows the area it is
    // about to carve from where the tool stands, at its full depth.
    void showReliefOutline();

    const FilePlaces places;
    // Where config.dat and the solution files live.
    const std::string moduleDir;
    const RigOptions rigOptions;
    // The user's country, three letters ("CZE"), set by the front end.
    std::string country;

    Machine machine;
    OperatorState op;
    HomingState homing;
    VectorModel vector;
    MainPreview preview;
    // Makes the off-screen pictures of the previews.
    CanvasFactory pictures;
    VectorJobRepeat repeat;
    DrillSet drills;
    RasterImage raster;
    JobValues jobValues;
    // The relief's depth and offset, and its last simulation, keep the
    // operator's values between openings of its dialog.
    ReliefJob relief;
    ReliefSimulation reliefSimulation;
    // The G-code program last chosen, kept for the next opening.
    GcodeImport gcode{machine};
    // The job the window follows: its toolpath, progress and state.
    JobTrack track{machine};
    // The files of the main window's "Open recent".
    RecentFiles recent;
    // The height map's grid, the map last probed or loaded, and its switch.
    HeightMapWork heightMap;

  private:
    SimSurface simSurface_;
    std::unique_ptr<MotionRig> motion_;
};

// The three-letter country of a POSIX locale name ("cs_CZ.UTF-8" gives
// "CZE"); the two letters themselves for a country this table lacks, ""
// without one.
std::string CountryOfLocale(const std::string& locale);

}  // namespace korvex
