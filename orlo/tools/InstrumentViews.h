// The two view files of the instrument page, built through the view
// engine's element model and written as binary view files:
//   "instruments.v"  the cockpit engine display on the glass (x 80..720,
//                    y 20..460 of an 800 x 480 view), fifteen pages chosen
//                    by "PAGE", fed with the profile's ten view ids;
//   "frame.v"        the bezel around the glass with the line-select keys
//                    "LSK1" to "LSK3", the dimmer knob ("KNOB", "KNOB_PUSH")
//                    and the card slot ("CARD_SLOT").
// Every variable lives in an Internal Data source, so the page's setVar and
// getVar reach it and no other source overwrites it. The output holds no
// time stamps or addresses: two runs write the same bytes.
#ifndef ORLO_INSTRUMENT_VIEWS_H
#define ORLO_INSTRUMENT_VIEWS_H

#include <string>

namespace KAVO {
namespace InstrumentViews {

// File names inside the bundle's resource folder.
extern const char* const InstrumentFile; // "instruments.v"
extern const char* const FrameFile;      // "frame.v"

// Writes one view file at path (through a temporary file that replaces it
// when complete). false with a message in error when it cannot be written.
bool writeInstrumentView(const std::string& path, std::string& error);
bool writeFrameView(const std::string& path, std::string& error);

// Writes both files into the folder (which must exist).
bool writeAll(const std::string& folder, std::string& error);

} // namespace InstrumentViews
} // namespace KAVO

#endif
