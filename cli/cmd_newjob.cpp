#include "command.h"

#include "clisession.h"
#include "job/projectfile.h"
#include "platform/numbers.h"

#include <QFileInfo>

#include <iostream>

namespace corvan::cli {
namespace {

bool ParseSize(const std::string& text, float& w, float& h) {
    const std::size_t x = text.find_first_of("xX");
    if (x == std::string::npos) return false;
    auto pw = ParseReal(text.substr(0, x));
    auto ph = ParseReal(text.substr(x + 1));
    if (!pw || !ph || *pw <= 0 || *ph <= 0) return false;
    w = static_cast<float>(*pw);
    h = static_cast<float>(*ph);
    return true;
}

// Paths typed on the command line are relative to the working folder.
std::string Absolute(const std::string& path) {
    return QFileInfo(QString::fromStdString(path)).absoluteFilePath().toStdString();
}

// Writes a new project file from the command line, for scripts and tests.
int RunNewJob(const std::vector<std::string>& args) {
    std::string out, value;
    float w = 210, h = 297;
    CliSession session;
    AppCore& app = session.app;
    app.CurrentJob = std::make_unique<TemfFile>();
    TemfFile& job = *app.CurrentJob;
    std::vector<std::string> layers;
    std::string image;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--size") {
            if (!TakeValue(args, i, value) || !ParseSize(value, w, h))
                return UsageError("--size takes WIDTHxHEIGHT in millimetres");
        } else if (a == "--layer") {
            if (!TakeValue(args, i, value)) return kUsage;
            layers.push_back(Absolute(value));
        } else if (a == "--image") {
            if (!TakeValue(args, i, value)) return kUsage;
            image = Absolute(value);
        } else if (a == "--bg") {
            if (!TakeValue(args, i, value)) return kUsage;
            auto rgb = ParseInteger("$" + value);
            if (!rgb || value.size() != 6) return UsageError("--bg takes RRGGBB");
            const auto v = static_cast<std::uint32_t>(*rgb);
            job.BackgroundColor = MakeColour(v >> 16, v >> 8, v);
        } else if (a == "--text") {
            if (!TakeValue(args, i, job.JobText)) return kUsage;
        } else if (!a.empty() && a[0] == '-') {
            return UsageError("unknown flag " + a);
        } else if (out.empty()) {
            out = a;
        } else {
            return UsageError("more than one output file");
        }
    }
    if (out.empty()) return UsageError("new-job needs an output file");
    job.Reset(w, h);
    job.Layers = layers;
    job.BackgroundFile = image;
    job.HasImage = !image.empty();
    job.FileName = out;
    if (!SaveProject(app, out)) return Failure("could not save " + out);
    std::cout << out << "\n";
    return kOk;
}

CommandRegistrar reg({"new-job",
                      "OUT.RIP [--size WxH] [--layer F]... [--image F] [--bg RRGGBB] [--text T]",
                      &RunNewJob});

}  // namespace
}  // namespace corvan::cli
