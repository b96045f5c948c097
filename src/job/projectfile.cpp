#include "job/projectfile.h"

#include "imagelib/imageload.h"
#include "imagelib/resample.h"
#include "job/emffile.h"
#include "job/jobsession.h"
#include "platform/base64.h"
#include "platform/bmpfile.h"
#include "platform/debuglog.h"
#include "platform/folders.h"
#include "platform/inifile.h"
#include "platform/metafile/layer_fonts.h"
#include "platform/numbers.h"
#include "platform/paths.h"
#include "platform/preferences.h"

#include <QLocale>
#include <QTime>
#include <algorithm>
#include <cmath>

namespace corvan {

namespace {

// One table drives both directions for the plain keys, so the written order
// and the read order cannot drift apart.
enum class Kind { Bool, Int, Float, Colour, String };

struct FieldKey {
    const char* section;
    const char* key;
    Kind kind;
    void* (*field)(TemfFile&);
};

#define FIELD(member) [](TemfFile& j) -> void* { return &j.member; }

// "Job" keys from "JobText" on, then "Size", "Crop", "ContourCut"; "GMA" is
// handled on its own, "Rendering" follows it.
const FieldKey kJobKeys[] = {
    {"Job", "JobText", Kind::String, FIELD(JobText)},
    {"Job", "PrintJobText", Kind::Bool, FIELD(PrintJobText)},
    {"Job", "Background Color", Kind::Colour, FIELD(BackgroundColor)},
    {"Job", "Background Image", Kind::String, FIELD(BackgroundFile)},
    {"Job", "SpotColors", Kind::Bool, FIELD(SpotColors)},
    {"Job", "ContourCut", Kind::Bool, FIELD(ContourCut)},
    {"Job", "Draw Image", Kind::Bool, FIELD(HasImage)},
    {"Job", "Crop Section", Kind::Bool, FIELD(CropSection)},
    {"Size", "Page Width(mm)", Kind::Float, FIELD(PageWidth)},
    {"Size", "Page Height(mm)", Kind::Float, FIELD(PageHeight)},
    {"Size", "X-offset(mm)", Kind::Float, FIELD(XOffset)},
    {"Size", "Y-offset(mm)", Kind::Float, FIELD(YOffset)},
    {"Size", "X-gap(mm)", Kind::Float, FIELD(XGap)},
    {"Size", "Y-gap(mm)", Kind::Float, FIELD(YGap)},
    {"Size", "Copies", Kind::Int, FIELD(Copies)},
    {"Size", "Rotate", Kind::Bool, FIELD(Rotate)},
    {"Size", "Mirror-X", Kind::Bool, FIELD(MirrorX)},
    {"Size", "Mirror-Y", Kind::Bool, FIELD(MirrorY)},
    {"Crop", "Left(mm)", Kind::Float, FIELD(CropLeft)},
    {"Crop", "Top(mm)", Kind::Float, FIELD(CropTop)},
    {"Crop", "Right(mm)", Kind::Float, FIELD(CropRight)},
    {"Crop", "Bottom(mm)", Kind::Float, FIELD(CropBottom)},
    {"Crop", "Multi-Tiles", Kind::Bool, FIELD(MultiTiles)},
    {"Crop", "TileWidth(mm)", Kind::Float, FIELD(TileWidth)},
    {"Crop", "TileHeight(mm)", Kind::Float, FIELD(TileHeight)},
    {"Crop", "Bleed-X(mm)", Kind::Float, FIELD(BleedX)},
    {"Crop", "Bleed-Y(mm)", Kind::Float, FIELD(BleedY)},
    {"Crop", "Tile No", Kind::Int, FIELD(TileNo)},
    {"Crop", "Tile Count", Kind::Int, FIELD(TileCount)},
    {"Crop", "Max Width(mm)", Kind::Float, FIELD(MaxWidth)},
    {"Crop", "Max Height(mm)", Kind::Float, FIELD(MaxHeight)},
    {"Crop", "RotateOnPrinter", Kind::Bool, FIELD(RotateOnPrinter)},
    {"Crop", "Tile Text", Kind::Bool, FIELD(TileText)},
    {"Crop", "Text Size(mm)", Kind::Float, FIELD(TextSize)},
    {"Crop", "Reverse Text", Kind::Bool, FIELD(ReverseText)},
    {"Crop", "Thick Text", Kind::Bool, FIELD(ThickText)},
    {"ContourCut", "CutColor", Kind::Colour, FIELD(CutColor)},
    {"ContourCut", "Cut Lines", Kind::Bool, FIELD(CutLines)},
    {"ContourCut", "Cut Solid", Kind::Bool, FIELD(CutSolid)},
    {"ContourCut", "Print Contours", Kind::Bool, FIELD(PrintContours)},
    {"ContourCut", "Tile Box", Kind::Bool, FIELD(TileBox)},
    {"ContourCut", "DeviceCM", Kind::Bool, FIELD(DeviceCM)},
};

const FieldKey kGmaKey = {"GMA", "Method", Kind::Int, FIELD(GmaMethod)};

const FieldKey kRenderingKeys[] = {
    {"Rendering", "DrawImage", Kind::Bool, FIELD(DrawImage)},
    {"Rendering", "Interpolate", Kind::Bool, FIELD(Interpolate)},
    {"Rendering", "Interpolation", Kind::Int, FIELD(Interpolation)},
    {"Rendering", "RenderDPI", Kind::Int, FIELD(RenderDPI)},
};

// Written before "CropMarkFile", read after it.
const FieldKey kCropMarkKeys[] = {
    {"CropMarks", "Cropmarks", Kind::Bool, FIELD(CropMarks)},
    {"CropMarks", "Border", Kind::Bool, FIELD(Border)},
    {"CropMarks", "CropmarkSize(mm)", Kind::Float, FIELD(CropmarkSize)},
    {"CropMarks", "CropOffset", Kind::Float, FIELD(CropOffset)},
    {"CropMarks", "AutoSize", Kind::Bool, FIELD(AutoSize)},
};

#undef FIELD

constexpr int kMaxListKeys = 51;

void WriteField(IniFile& ini, const FieldKey& f, TemfFile& job) {
    void* p = f.field(job);
    switch (f.kind) {
        case Kind::Bool:
            ini.WriteBool(f.section, f.key, *static_cast<bool*>(p));
            break;
        case Kind::Int:
            ini.WriteInteger(f.section, f.key, *static_cast<std::int32_t*>(p));
            break;
        case Kind::Colour:
            ini.WriteInteger(f.section, f.key, *static_cast<Colour*>(p));
            break;
        case Kind::Float:
            ini.WriteFloat(f.section, f.key, *static_cast<float*>(p));
            break;
        case Kind::String:
            ini.WriteString(f.section, f.key, *static_cast<std::string*>(p));
            break;
    }
}

void ReadField(const IniFile& ini, const FieldKey& f, TemfFile& job) {
    void* p = f.field(job);
    switch (f.kind) {
        case Kind::Bool: {
            auto& b = *static_cast<bool*>(p);
            b = ini.ReadBool(f.section, f.key, b);
            break;
        }
        case Kind::Int: {
            auto& i = *static_cast<std::int32_t*>(p);
            i = ini.ReadInteger(f.section, f.key, i);
            break;
        }
        case Kind::Colour: {
            auto& c = *static_cast<Colour*>(p);
            c = static_cast<Colour>(
                ini.ReadInteger(f.section, f.key, static_cast<std::int32_t>(c)));
            break;
        }
        case Kind::Float: {
            auto& v = *static_cast<float*>(p);
            v = static_cast<float>(ini.ReadFloat(f.section, f.key, v));
            break;
        }
        case Kind::String: {
            auto& s = *static_cast<std::string*>(p);
            s = ini.ReadString(f.section, f.key, s);
            break;
        }
    }
}

template <std::size_t N>
void WriteFields(IniFile& ini, const FieldKey (&keys)[N], TemfFile& job) {
    for (const auto& f : keys) WriteField(ini, f, job);
}

template <std::size_t N>
void ReadFields(const IniFile& ini, const FieldKey (&keys)[N], TemfFile& job) {
    for (const auto& f : keys) ReadField(ini, f, job);
}

std::string PrefixFolder(const std::string& value, const char* folderName) {
    return HasFolderPart(value) ? value : ReadPath(folderName) + value;
}

std::string LongTimeNow() {
    return QLocale::system().toString(QTime::currentTime(), QLocale::LongFormat).toStdString();
}

void AddThumbnail(IniFile& ini, const Bitmap24& preview, float pageWidth, float pageHeight) {
    const FittedSize size =
        FitSize(RoundToInt(pageWidth) * 100, RoundToInt(pageHeight) * 100, 64, 64);
    auto small = ResampleBitmap(&preview, size.width, size.height);
    if (!small) return;
    auto bmp = EncodeBmp(*small);
    if (!bmp) return;
    const auto lines = Base64EncodeLines(*bmp, 45);
    ini.DeleteSection("Preview");
    ini.WriteInteger("Preview", "Count", static_cast<std::int64_t>(lines.size()));
    for (std::size_t i = 0; i < lines.size(); ++i)
        ini.WriteString("Preview", std::to_string(i), lines[i]);
}

// A job file has at least one of the sections a save writes; anything else
// (an empty file, a picture renamed, a letter) is no job.
bool LooksLikeProject(const IniFile& ini) {
    static const char* const kSections[] = {
        "Job",       "Size",       "Crop",       "ContourCut",       "GMA",           "Rendering",
        "CropMarks", "EMF Layers", "Spot Color", "Printer Settings", "Printed Tiles", "Preview"};
    for (const char* section : kSections)
        if (ini.HasSection(section)) return true;
    return false;
}

// Numbers a hand-edited or damaged file may carry that would make the job
// unusable (thousands of copies cost seconds per strip, a negative page
// renders nothing): clamped into what the window itself lets the operator
// choose, each with a line for the operator.
std::vector<std::string> ClampJobNumbers(TemfFile& job) {
    std::vector<std::string> notes;
    auto clampInt = [&](std::int32_t& v, std::int32_t lo, std::int32_t hi, const char* what) {
        const std::int32_t c = std::clamp(v, lo, hi);
        if (c == v) return;
        notes.push_back(std::string(what) + " " + std::to_string(v) + " changed to " +
                        std::to_string(c));
        v = c;
    };
    clampInt(job.Copies, 1, kMaxCopies, "Copies");
    clampInt(job.RenderDPI, kMinRenderDpi, kMaxRenderDpi, "Render DPI");
    auto fixSize = [&](float& v, const char* what) {
        if (std::isfinite(v) && v > 0 && v <= kMaxPageSide) return;
        notes.push_back(std::string(what) + " " + FormatFloat15(v) + " mm changed to 25.4 mm");
        v = 25.4f;
    };
    fixSize(job.PageWidth, "Page width");
    fixSize(job.PageHeight, "Page height");
    return notes;
}

}  // namespace

bool SaveProject(JobSession& app, const std::string& path, const PrintedTiles& carryTiles) {
    if (!app.CurrentJob || path.empty()) return false;
    TemfFile& job = *app.CurrentJob;
    app.Ui().StatusText(job.FileName);
    LogLine("Save EMF->file: " + path);

    // The whole file is built in memory and replaces the old one in one step.
    IniFile ini(path);
    ini.WriteString("Job", "Filename", path);
    ini.WriteString("Job", "Time", LongTimeNow());
    WriteFields(ini, kJobKeys, job);
    WriteField(ini, kGmaKey, job);
    WriteFields(ini, kRenderingKeys, job);
    WriteFields(ini, kCropMarkKeys, job);
    ini.WriteString("CropMarks", "CropMarkFile", app.CropMarks().SelectedFileName());
    for (std::size_t i = 0; i < job.Layers.size(); ++i)
        ini.WriteString("EMF Layers", "Layer#" + std::to_string(i), job.Layers[i]);
    for (std::size_t i = 0; i < job.SpotColorList.size(); ++i)
        ini.WriteString("Spot Color", "SpotColor#" + std::to_string(i), job.SpotColorList[i]);

    if (ReadPrefBool("save_printersettings", true) && app.Driver().IsValidDriver()) {
        const std::string data = app.Driver().SettingsText();
        if (!data.empty()) {
            ini.WriteString("Printer Settings", "Plugin", app.Driver().DriverPath());
            ini.WriteString("Printer Settings", "Data", data);
        }
    }
    app.Events().SettlePreview();
    if (app.PreviewImage) AddThumbnail(ini, *app.PreviewImage, job.PageWidth, job.PageHeight);
    for (int t = 0; t < 256; ++t)
        if (carryTiles[static_cast<std::size_t>(t)])
            ini.WriteBool("Printed Tiles", std::to_string(t), true);

    if (!ini.Save()) {
        LogLine("Error saving " + path + ": " + ini.Error());
        app.Ui().ShowError("Unable to save " + path + "\r" + ini.Error());
        return false;
    }
    job.Modified = false;
    return true;
}

namespace {

Status ReadableProject(const IniFile& ini, bool loaded, const std::string& path) {
    if (!loaded) {
        LogLine("Error reading " + path + ": " + ini.Error());
        return Failure{"Unable to read the job file " + path + "\r" + ini.Error()};
    }
    if (!LooksLikeProject(ini)) {
        LogLine("Not a job file: " + path);
        return Failure{path + " is not a CorvanRIP job file."};
    }
    return {};
}

}  // namespace

Status CheckProjectFile(const std::string& path) {
    IniFile ini(path);
    const bool loaded = ini.Load();
    return ReadableProject(ini, loaded, path);
}

Status LoadProject(JobSession& app, const std::string& path) {
    LogLine("Load EMF->file: " + path);
    IniFile ini(path);
    const bool loaded = ini.Load();
    if (Status readable = ReadableProject(ini, loaded, path); !readable) return readable;
    app.CurrentJob = std::make_unique<TemfFile>();
    TemfFile& job = *app.CurrentJob;
    job.Reset(25.4f, 25.4f);
    job.FileName = path;
    LogLine("Load file: " + path);

    ReadFields(ini, kJobKeys, job);
    ReadFields(ini, kRenderingKeys, job);
    if (!job.BackgroundFile.empty())
        job.BackgroundFile = PrefixFolder(job.BackgroundFile, "ImageDir");

    app.CropMarks().SelectCropMarkFile(ini.ReadString("CropMarks", "CropMarkFile"));
    ReadFields(ini, kCropMarkKeys, job);
    const std::vector<std::string> notes = ClampJobNumbers(job);
    if (!notes.empty()) {
        std::string text = "Some values of this job were out of range and have been corrected:";
        for (const std::string& n : notes) text += "\r" + n;
        LogLine(text);
        app.Ui().ShowWarning(text);
    }

    for (int i = 0; i < kMaxListKeys; ++i) {
        const std::string layer = ini.ReadString("EMF Layers", "Layer#" + std::to_string(i));
        if (layer.empty()) continue;
        job.Layers.push_back(PrefixFolder(layer, "EMFDir"));
        emf::InstallLayerFonts(job.Layers.back(), ReadPath("CacheDir"));
    }
    for (int i = 0; i < kMaxListKeys; ++i) {
        const std::string spot = ini.ReadString("Spot Color", "SpotColor#" + std::to_string(i));
        if (!spot.empty()) job.SpotColorList.push_back(spot);
    }

    job.Modified = false;
    app.SaveEnabled = false;
    job.PreviewDirty = true;
    const Status background = ReloadBackground(app);
    app.Driver().JobLoaded();

    if (ReadPrefBool("Load_printersettings", true)) {
        const std::string plugin = ini.ReadString("Printer Settings", "Plugin");
        const std::string data = ini.ReadString("Printer Settings", "Data");
        if (!plugin.empty() &&
            app.Ui().AskYesNo(
                "Update Printer Settings?\r\rThis job contains saved printer settings.\r"
                "If you select Yes, the current Printer\rsettings will change to match "
                "those saved\rin the file.")) {
            ReadField(ini, kGmaKey, job);
            app.Driver().RestoreSettings(plugin, data);
        }
    }
    LogLine("OK");
    return background;
}

PrintedTiles ReadPrintedTiles(const std::string& path) {
    PrintedTiles tiles;
    IniFile ini(path);
    if (!ini.Load()) return tiles;
    for (int t = 0; t < 256; ++t)
        tiles[static_cast<std::size_t>(t)] =
            ini.ReadBool("Printed Tiles", std::to_string(t), false);
    return tiles;
}

bool WriteThumbnail(const Bitmap24& preview, float pageWidth, float pageHeight,
                    const std::string& path) {
    IniFile ini(path);
    if (!ini.Load()) return false;
    AddThumbnail(ini, preview, pageWidth, pageHeight);
    return ini.Save();
}

std::unique_ptr<Bitmap24> ReadProjectThumbnail(const std::string& path) {
    IniFile ini(path);
    if (!ini.Load()) return nullptr;
    const int count = ini.ReadInteger("Preview", "Count", 0);
    if (count < 1) return nullptr;
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += ini.ReadString("Preview", std::to_string(i));
        text += '\n';
    }
    auto bytes = Base64Decode(text);
    if (!bytes) return nullptr;
    auto image = DecodeBmp(*bytes);
    if (!image) return nullptr;
    return std::move(image->pixels);
}

Status ReloadBackground(JobSession& app) {
    Status status;
    if (app.CurrentJob) {
        TemfFile& job = *app.CurrentJob;
        job.BackgroundImage.reset();
        job.HasImage = false;
        if (!job.BackgroundFile.empty()) {
            LogLine("Aquire BackgroundImage: " + job.BackgroundFile);
            // Pages without pixels (EPS, PDF) are drawn at the job's resolution.
            DecodeOptions options;
            if (job.RenderDPI > 0) options.vectorDpi = job.RenderDPI;
            UserInterface& ui = app.Ui();
            ImageLoadResult loaded = LoadImage24(
                job.BackgroundFile,
                [&ui](int stage, int percent) { ui.Progress(stage, percent, "Loading image"); },
                options);
            if (loaded.missing) ui.ShowError(MissingImageText(job.BackgroundFile));
            job.BackgroundImage = std::move(loaded.image);
            // The picture's own commands (clear, edit, draw) follow it.
            job.HasImage = job.BackgroundImage != nullptr;
            if (!job.BackgroundImage) {
                // The file stays named in the job, so fixing the file and
                // reopening brings the picture back.
                const std::string why = !loaded.error.empty() ? loaded.error
                                        : !FileExists(job.BackgroundFile)
                                            ? "the file is missing"
                                            : "the file cannot be read";
                LogLine("Background image not loaded: " + why);
                status = Failure{"Unable to load image: " + job.BackgroundFile + "\r" + why};
                if (FileExists(job.BackgroundFile)) app.Ui().ShowError(status.Error());
            } else {
                LogLine("OK");
            }
        }
    }
    app.Events().BackgroundChanged();
    return status;
}

}  // namespace corvan
