#include "imagelib/postscript.h"

#include "imagelib/imagelimits.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace corvan {

namespace {

const char* KindName(PageKind kind) {
    return kind == PageKind::Eps ? "EPS" : kind == PageKind::Pdf ? "PDF" : "PostScript";
}

std::string NotInstalled(PageKind kind) {
    const std::string what = kind == PageKind::Eps ? "This EPS file has no preview picture, and"
                                                   : std::string("This ") + KindName(kind) +
                                                         " file needs Ghostscript to be drawn, but";
    return what + " Ghostscript is not installed (Debian package ghostscript)";
}

QString GhostscriptProgram() {
    if (const char* chosen = std::getenv("CORVANRIP_GS"); chosen && *chosen)
        return std::strcmp(chosen, "none") == 0 ? QString() : QString::fromLocal8Bit(chosen);
    return QStandardPaths::findExecutable("gs");
}

bool CopySpan(const ImageSource& source, const std::string& path) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> out(std::fopen(path.c_str(), "wb"),
                                                        std::fclose);
    if (!out) return false;
    RangeReader in(source);
    std::vector<char> buffer(1 << 16);
    while (in.Remaining() > 0) {
        const std::size_t got = in.ReadSome(buffer.data(), buffer.size());
        if (got == 0 || std::fwrite(buffer.data(), 1, got, out.get()) != got) return false;
    }
    return true;
}

// One number of a PPM header: blanks and "#" comments before it are skipped.
bool PpmNumber(std::FILE* in, long long& value) {
    int c = std::fgetc(in);
    while (c == '#' || std::isspace(c)) {
        if (c == '#')
            while (c != '\n' && c != EOF) c = std::fgetc(in);
        c = std::fgetc(in);
    }
    if (!std::isdigit(c)) return false;
    value = 0;
    for (; std::isdigit(c) && value < (1LL << 40); c = std::fgetc(in))
        value = value * 10 + (c - '0');
    return std::isspace(c);  // one blank ends the last number before the pixels
}

// Binary PPM ("P6", maxval 255) as Ghostscript's ppmraw device writes it.
DecodeResult ReadPpm(const std::string& path, PageKind kind) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(std::fopen(path.c_str(), "rb"), std::fclose);
    long long w = 0, h = 0, maxval = 0;
    if (!in || std::fgetc(in.get()) != 'P' || std::fgetc(in.get()) != '6' ||
        !PpmNumber(in.get(), w) || !PpmNumber(in.get(), h) || !PpmNumber(in.get(), maxval) ||
        maxval != 255)
        return DecodeResult::Failed(
            DamagedFile(KindName(kind), "Ghostscript drew no page from it"));
    if (std::string tooLarge = CheckImageSize(w, h); !tooLarge.empty())
        return DecodeResult::Failed(tooLarge);
    auto image = Bitmap24::Create(static_cast<int>(w), static_cast<int>(h));
    if (!image) return DecodeResult::Failed(kOutOfMemory);
    std::vector<std::uint8_t> row(3 * static_cast<std::size_t>(w));
    for (int y = 0; y < image->Height(); ++y) {
        if (std::fread(row.data(), 1, row.size(), in.get()) != row.size())
            return DecodeResult::Failed(DamagedFile(KindName(kind), "Ghostscript stopped early"));
        std::uint8_t* dst = image->Row(y);
        for (std::size_t i = 0; i < row.size(); i += 3) {
            dst[i] = row[i + 2];
            dst[i + 1] = row[i + 1];
            dst[i + 2] = row[i];
        }
    }
    return {std::move(image), {}, {}};
}

}  // namespace

bool LooksLikePostScript(std::span<const std::uint8_t> head) {
    return head.size() >= 2 && head[0] == '%' && head[1] == '!';
}

bool LooksLikePdf(std::span<const std::uint8_t> head) {
    return head.size() >= 5 && std::memcmp(head.data(), "%PDF-", 5) == 0;
}

DecodeResult RenderPostScript(const ImageSource& source, PageKind kind, double dpi,
                              ProgressReporter& progress) {
    const QString program = GhostscriptProgram();
    if (program.isEmpty()) return DecodeResult::Failed(NotInstalled(kind));
    QTemporaryDir dir;
    if (!dir.isValid()) return DecodeResult::Failed("No temporary folder for drawing the page");
    const std::string input = dir.filePath("page").toStdString();
    const std::string output = dir.filePath("page.ppm").toStdString();
    if (!CopySpan(source, input))
        return DecodeResult::Failed(DamagedFile(KindName(kind), "it cannot be read"));
    progress.Start();
    // -dSAFER keeps the file from touching anything but its own output.
    QStringList args = {"-dSAFER",
                        "-dBATCH",
                        "-dNOPAUSE",
                        "-dQUIET",
                        "-sDEVICE=ppmraw",
                        QString("-r%1").arg(dpi, 0, 'f', 2),
                        "-dFirstPage=1",
                        "-dLastPage=1",
                        "-dTextAlphaBits=4",
                        "-dGraphicsAlphaBits=4",
                        "-sOutputFile=" + QString::fromStdString(output)};
    if (kind == PageKind::Eps) args << "-dEPSCrop";
    args << QString::fromStdString(input);
    QProcess gs;
    gs.setProcessChannelMode(QProcess::MergedChannels);
    gs.start(program, args);
    if (!gs.waitForStarted()) return DecodeResult::Failed(NotInstalled(kind));
    if (!gs.waitForFinished(kGhostscriptSeconds * 1000)) {
        gs.kill();
        gs.waitForFinished();
        return DecodeResult::Failed("Ghostscript did not finish drawing the " +
                                    std::string(KindName(kind)) + " file within " +
                                    std::to_string(kGhostscriptSeconds) + " seconds");
    }
    LogDecoderText("Ghostscript", gs.readAll().trimmed().toStdString());
    if (gs.exitStatus() != QProcess::NormalExit || gs.exitCode() != 0)
        return DecodeResult::Failed(DamagedFile(KindName(kind), "Ghostscript cannot draw it"));
    DecodeResult result = ReadPpm(output, kind);
    if (result.image) {
        result.info.format = KindName(kind);
        result.info.colourSpace = "drawn by Ghostscript";
        result.info.dpiX = result.info.dpiY = dpi;
    }
    progress.Finish();
    return result;
}

}  // namespace corvan
