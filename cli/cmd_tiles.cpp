#include "command.h"

#include "clisession.h"
#include "jobload.h"

#include "job/units.h"
#include "placement/tiling.h"

#include <iostream>

namespace corvan::cli {
namespace {

// The billboard grid of a saved job and which tiles have been printed, as the
// tile dialog would show them.
int RunTiles(const std::vector<std::string>& args) {
    if (args.size() != 1 || args[0].empty() || args[0][0] == '-')
        return UsageError("tiles takes one job file");
    CliSession session;
    AppCore& app = session.app;
    std::string error;
    if (!LoadJobForRendering(app, args[0], error)) return Failure(error);
    const TemfFile& job = *app.CurrentJob;
    if (!job.MultiTiles) {
        std::cout << args[0] << ": no billboard tiles\n";
        return kOk;
    }
    TemfPlotter device = app.CurrentPlotter;
    if (device.MediaWidth <= 0) device.MediaWidth = job.MediaWidth;
    TileEditor editor(app.Ui(), job.CropBlock(), job.PageWidth, job.PageHeight,
                      TileMediaLimits(job, device), ReadTileMaximum(), true);
    editor.RememberProject(job.FileName);
    editor.UpdateAll();
    editor.CreateTileList();
    const TCropTileBlock& b = editor.Block();
    std::cout << args[0] << ": page " << FormatSize(job.PageWidth, job.PageHeight, true)
              << ", tile " << FormatSize(b.TileWidth, b.TileHeight, true) << ", bleed "
              << FormatSize(b.BleedX, b.BleedY, true) << "\n"
              << editor.Grid().columns << " x " << editor.Grid().rows << " tiles (" << b.TileCount
              << "), current tile " << b.TileNo << "\n";
    const auto lines = editor.TileListLines();
    for (std::size_t i = 0; i < lines.size(); ++i)
        std::cout << lines[i] << (editor.IsPrinted(static_cast<int>(i) + 1) ? "  printed" : "")
                  << "\n";
    return kOk;
}

CommandRegistrar reg({"tiles",
                      "JOB.RIP        lists the job's billboard tiles and which are printed",
                      &RunTiles});

}  // namespace
}  // namespace corvan::cli
