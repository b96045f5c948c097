#pragma once
// A print run sent the way the RIP command sends it: prepare, open, start
// the document, the spot calls, per pass the rows (each source row announced
// once, device rows mapped to the nearest source row), then the cut part and
// the closing calls.
#include "platform/bitmap.h"
#include "plugins/pluginobject.h"

#include <functional>
#include <string>

namespace corvan::test {

struct PrintRun {
    const Bitmap24* source = nullptr;
    int deviceWidth = 0, deviceHeight = 0;
    int firstPass = 1, lastPass = 1;
    std::string title = "display title";
    std::function<void(TPluginObject&)> spotCalls;        // after StartDoc
    std::function<void(TPluginObject&, int)> beforePass;  // extra-pass ink calls
    std::function<void(TPluginObject&)> cut;              // between StartCut and EndCut
    // The operator cancels after this device row of this pass: the host
    // sends no more rows and no Plugin_EndPage (-1: never).
    int cancelPass = -1, cancelAfterRow = -1;
    // Problems reported along the way (entry point names).
    std::vector<std::string> problems;

    static PrintRun Of(const Bitmap24& source, int deviceWidth, int deviceHeight) {
        PrintRun run;
        run.source = &source;
        run.deviceWidth = deviceWidth;
        run.deviceHeight = deviceHeight;
        return run;
    }
};

void Print(TPluginObject& plugin, PrintRun& run);

// The settings blob of the drivers in this repository: "key=value" lines.
void SetDriverSettings(TPluginObject& plugin, const std::string& lines);

}  // namespace corvan::test
