#pragma once
// The loaded vector drawing: polylines in motor steps, each drawn with one
// pen, and the pen table whose records the job dialog calls layers.
//
// Coordinates are steps of their own axis, normalised so that the smallest X,
// Y and Z are 0, with Y counting down from the drawing's top edge. One model
// per program run, owned by the front end and replaced by every load.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace korvex {

struct MachineSettings;

// The producer of a loaded file, as chosen in the open dialog. The raster and
// drill loaders store their own filter index here too. The generic kind reads
// any plotter driver's HP-GL/2 rather than the three producers' dialects.
enum HpglSourceKind : int32_t {
    kHpglCorel = 1,
    kHpglArtCam = 11,
    kHpglSprint = 111,
    kHpglGeneric = 1111
};

inline bool IsHpglKind(int32_t kind) {
    return kind == kHpglCorel || kind == kHpglArtCam || kind == kHpglSprint || kind == kHpglGeneric;
}

struct VectorPoint {
    int32_t x = 0, y = 0, z = 0;
    bool operator==(const VectorPoint&) const = default;
};

struct VectorObject {
    int32_t pen = 0;     // the pen selected when the object began
    int32_t length = 0;  // steps, the sum of the truncated 3D distances
    // The capacity the load log reports, in chunks of 50; the storage itself
    // grows geometrically.
    int32_t pointCapacity = 0;
    // The first point is where the pen-up move ends, the rest are pen-down.
    std::vector<VectorPoint> points;

    int32_t pointCount() const { return static_cast<int32_t>(points.size()); }
};

inline constexpr int kPenTableSize = 255;
inline constexpr int kCutOrderSlots = 256;

// One pen of the drawing; the job dialog's layer.
struct PenLayer {
    int32_t pen = 0;
    int32_t enabled = 0;
    float depth = 0;  // mm below the surface
    int32_t changeTool = 0;
    float passDepth = 0;               // mm per pass
    float feed = 0;                    // mm/s
    float length = 0;                  // steps, the sum of the layer's object lengths
    float travel = 0;                  // mm between consecutive objects of objectOrder
    int32_t counterClockwise = 0;      // parity of the direction reversals
    std::vector<int32_t> objectOrder;  // the layer's objects in cutting order
    int32_t oneWay = 0;                // job-wide, read from the first record only

    int32_t objectCount() const { return static_cast<int32_t>(objectOrder.size()); }
};

// The order in which layers are cut: pen-table indexes, -1 for empty slots.
struct CutOrder {
    std::array<int32_t, kCutOrderSlots> slots{};
    int32_t count = 0;
};

struct VectorModel {
    int32_t loaded = 0;  // 1 only after a complete, successful load
    std::string sourcePath;
    int32_t sourceKind = kHpglCorel;
    std::vector<VectorObject> objects;  // in file order
    int32_t objectCapacity = 0;         // reported in chunks of 20, like pointCapacity
    std::array<PenLayer, kPenTableSize> pens{};
    int32_t penCount = 0;
    // The working size (steps), used by cutting, the table check, repeat
    // spacing and the new size; and the size shown to the operator.
    int32_t width = 0, height = 0;
    int32_t displayWidth = 0, displayHeight = 0;
    CutOrder cutOrder;

    int32_t objectCount() const { return static_cast<int32_t>(objects.size()); }
    bool hasHpgl() const { return loaded == 1 && IsHpglKind(sourceKind); }
};

// Frees every object, resets the pen table (pass depth and feed to the
// settings' defaults, everything else 0) and empties the cut order.
void releaseVectorModel(VectorModel& model, const MachineSettings& settings);

// Adds room for `n` more objects. 0 on success, -1 when n < 1, 1 when the
// storage could not be had.
int growObjects(VectorModel& model, int n);

// Adds room for `n` more points to one object. 0 on success (n < 1 does
// nothing), 1 when the storage could not be had.
int growPoints(VectorModel& model, int objectIndex, int n);

// The smallest non-zero of the X and Y step sizes: the factor that shows a
// length in steps as millimetres.
double StepLengthMm(const MachineSettings& settings);

}  // namespace korvex
