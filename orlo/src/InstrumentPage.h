#ifndef ORLO_INSTRUMENTPAGE_H
#define ORLO_INSTRUMENTPAGE_H

#include <QString>

#include <map>
#include <utility>
#include <vector>

namespace KAVO {

class Profile;
struct RecordData;

// The arithmetic of the instrument page, apart from its window so that it
// is tested without OpenGL: the page machine of the line-select keys, the
// time keys and interpolation of the fed values, the fit of the view into
// the widget, the knob's dimming and the mouse position in view units.
class InstrumentPage
{
public:
    // The page state that the keys step; a new page shows the overview.
    struct Pages
    {
        int page = 0;
        int ring1 = 1;  // last page visited in pages 1 to 6
        int ring2 = 7;  // last page visited in pages 7 to 12
        int config = 0; // configuration selection, 0 or 1
        int unit = 0;   // unit selection, 0 or 1
    };
    // Commands: 0 knob press, 1 to 3 the line-select keys. Pages 1 to 6 and
    // 7 to 12 are two rings, 13 the configuration and 14 the unit page.
    static void calcPage(Pages& pages, int command);

    // The key of a message time: tenths of a second, counted down (so that
    // times before zero keep tenths of their own). A time less than a
    // microsecond below a whole tenth counts as that tenth: the tick
    // conversion's noise (0.29999999 s) moves no value into the tenth
    // before. False for a time that is not a number or outside the keys'
    // range.
    static bool timeKey(double seconds, int& key);

    // The values of every profile parameter with a view id (device and
    // parameter order), named by the view id and keyed by the tenth of their
    // message's time on the timeline (high files at their time plus the
    // folder's offset); of the messages of one tenth the last in timeline
    // order gives the value. Decoded by worker threads.
    using Feed = std::vector<std::pair<QString, std::map<int, double>>>;
    static Feed feed(const RecordData& data, Profile& profile);

    // The value at time t of values keyed by tenths: the first key after t
    // when t lies before every key, the straight line between the keys
    // around t, false (nothing to write) after the last key or for a time
    // that is not a number.
    static bool valueAt(const std::map<int, double>& values, double t, double& value);

    // Scale and offsets (pixels) that fit a view of viewWidth x viewHeight
    // into a widget of width x height, centred along the longer side. A view
    // without size (not loaded) gets scale 1 and offsets 0.
    struct Fit
    {
        double scale = 1.0;
        double xOffset = 0.0;
        double yOffset = 0.0;
    };
    static Fit fit(double width, double height, double viewWidth, double viewHeight);

    // The brightness after the knob moved from lastKnob to knob, kept
    // within 0.1 to 1.0.
    static double dim(double brightness, double knob, double lastKnob);

    // A mouse position (pixels, y down) in view units (y up) for a widget of
    // the given height; false while the fit has no scale (a widget without
    // size), when no position would be finite.
    static bool toView(const Fit& fit, int widgetHeight, int mouseX, int mouseY, float& viewX, float& viewY);
};

} // namespace KAVO

#endif
