#include "clisession.h"
#include "command.h"
#include "jobload.h"

#include "cutting/cutfile.h"
#include "platform/bmpfile.h"
#include "platform/folders.h"
#include "platform/paths.h"
#include "raster/contours.h"
#include "raster/stripcomposer.h"

#include <QFile>

#include <cstdio>
#include <iostream>

namespace corvan::cli {
namespace {

// Prints what a cut file holds: the header fields, the thumbnail size and
// every point record.
int Dump(const std::string& path) {
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::ReadOnly)) return Failure("cannot read " + path);
    const QByteArray bytes = f.readAll();
    std::string reason;
    auto c = ParseCutFile(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                    static_cast<std::size_t>(bytes.size())),
                          &reason);
    if (!c) return Failure(path + ": " + reason);
    std::cout << "length field " << c->lengthField << " (mm + 1)\nwidth field  " << c->widthField
              << " (mm + 1)\ncreated      " << c->created << " (days since 1899-12-30)\n";
    auto thumb = DecodeBmp(c->thumbnail);
    if (thumb)
        std::cout << "thumbnail    " << thumb->pixels->Width() << " x " << thumb->pixels->Height()
                  << "\n";
    else
        std::cout << "thumbnail    " << c->thumbnail.size()
                  << " bytes, unreadable: " << thumb.Error() << "\n";
    std::cout << "points       " << c->points.size() << "\n";
    for (const auto& p : c->points) std::printf("%.3f %.3f %d\n", p.y, p.x, p.pen);
    return kOk;
}

int RunCutfile(const std::vector<std::string>& args) {
    std::string input, output;
    bool dump = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "-o" || a == "--output") {
            if (!TakeValue(args, i, output)) return kUsage;
        } else if (a == "--dump") {
            dump = true;
        } else if (!a.empty() && a[0] == '-') {
            return UsageError("cutfile: unknown option " + a);
        } else if (input.empty()) {
            input = a;
        } else {
            return UsageError("cutfile: more than one file");
        }
    }
    if (input.empty()) return UsageError("cutfile needs JOB.RIP (or a .tcf file with --dump)");
    if (dump) return Dump(input);

    CliSession session;
    AppCore& app = session.app;
    std::string error;
    if (!LoadJobForRendering(app, input, error)) return Failure(error);
    app.CurrentPlotter.MediaWidth = app.CurrentJob->MediaWidth;
    if (output.empty()) {
        output = NextCutFileName(ReadPath("CutDir"));
        if (output.empty()) return Failure("the cut folder holds 0001.tcf to 0200.tcf already");
    }
    auto thumbnail = RenderCutThumbnail(*app.CurrentJob, CurrentCropMarkCorners(app),
                                        app.CurrentPlotter.MediaWidth);
    const ContourPath path = CollectJobContours(*app.CurrentJob, 10.0f);
    if (!WriteCutFile(app, output, thumbnail.get(), path))
        return Failure("could not write " + output);
    std::cout << output << "\n";
    return kOk;
}

CommandRegistrar reg({"cutfile", "JOB.RIP [-o FILE.tcf]  |  cutfile FILE.tcf --dump", &RunCutfile});

}  // namespace
}  // namespace corvan::cli
