#pragma once
// EPS, PostScript and PDF files without a preview picture, drawn by
// Ghostscript in a separate process (-dSAFER, with a time limit) at the
// resolution the caller asks for. The program is "gs" on the PATH, or the
// one named by CORVANRIP_GS ("none" switches drawing off).
#include "imagelib/decoding.h"
#include "imagelib/imagesource.h"
#include "imagelib/progress.h"

#include <cstdint>
#include <span>

namespace corvan {

enum class PageKind { Eps, PostScript, Pdf };

// From the first bytes of a file: "%!" PostScript (EPS when it says so) or "%PDF-".
bool LooksLikePostScript(std::span<const std::uint8_t> head);
bool LooksLikePdf(std::span<const std::uint8_t> head);

// Seconds Ghostscript may take for one file before it is stopped.
inline constexpr int kGhostscriptSeconds = 120;

// The first page of `source` drawn at `dpi` dots per inch.
DecodeResult RenderPostScript(const ImageSource& source, PageKind kind, double dpi,
                              ProgressReporter& progress);

}  // namespace corvan
