#pragma once
// The job record, the device record and the colour list. All lengths are
// millimetres as 32-bit floats; colours are 0x00BBGGRR.
#include "platform/bitmap.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace corvan {

// The crop edges, tile settings and tile-text settings: the crop and tile
// dialog copies this block out of the job and back as one unit.
struct TCropTileBlock {
    float CropLeft = 0;
    float CropTop = 0;
    float CropRight = 210;
    float CropBottom = 297;
    bool MultiTiles = false;
    float TileWidth = 0;
    float TileHeight = 0;
    float BleedX = 0;
    float BleedY = 0;
    std::int32_t TileNo = 0;
    std::int32_t TileCount = 0;
    float MaxWidth = 0;
    float MaxHeight = 0;
    bool RotateOnPrinter = false;
    bool TileText = false;
    float TextSize = 6;
    bool ReverseText = false;
    bool ThickText = false;
};

class TemfFile : public TCropTileBlock {
public:
    TemfFile();

    // Restores every placement, tile, cut, render and crop-mark setting to
    // its default for a page of the given size; keeps the file name, the
    // modified flag, background, layers, spot colours and the job text.
    void Reset(float width, float height);

    // Crop rectangle: whole page (keep = false) or clamped and ordered.
    void CheckCrop(bool keep);
    void ComputeLayout();
    void GetCopyRect(int n, float& x1, float& y1, float& x2, float& y2);
    // The margin reserved around each copy for crop marks and the border.
    float CopyMargin() const;

    TCropTileBlock& CropBlock() { return *this; }
    const TCropTileBlock& CropBlock() const { return *this; }

    std::string FileName;
    bool Modified = false;
    bool FitsMedia = true;
    bool PreviewDirty = true;
    Colour BackgroundColor = 0xFFFFFF;
    std::unique_ptr<Bitmap24> BackgroundImage;
    std::string BackgroundFile;
    std::vector<std::string> Layers;
    std::vector<std::string> SpotColorList;
    bool SpotColors = false;
    bool ContourCut = false;
    bool HasImage = false;
    bool CropSection = false;
    float PageWidth = 210;
    float PageHeight = 297;
    float XOffset = 0;
    float YOffset = 0;
    float XGap = 25;
    float YGap = 25;
    std::int32_t Copies = 1;
    bool Rotate = false;
    bool MirrorX = false;
    bool MirrorY = false;
    float MediaWidth = 0;
    float MediaHeight = 0;
    // (crop and tile block: inherited from TCropTileBlock)
    float CropWidth = 0;
    float CropHeight = 0;
    float MediaUsedWidth = 0;
    float MediaUsedHeight = 0;
    Colour CutColor = 0xC0C0C0;
    bool CutLines = true;
    bool CutSolid = false;
    bool PrintContours = false;
    bool TileBox = false;
    bool DeviceCM = false;
    std::int32_t GmaMethod = 0;
    bool DrawImage = true;
    bool Interpolate = true;
    std::int32_t Interpolation = 10;
    std::int32_t RenderDPI = 360;
    bool CropMarks = false;
    bool Border = false;
    float CropmarkSize = 20;
    float CropOffset = 0;
    bool AutoSize = true;
    bool PrintJobText = false;
    std::string JobText;

    // Records tile TileNo as printed in the job's project file (nothing for a
    // job that was never saved).
    void RecordPrintedTile();

private:
    // Placed copy size (swapped when rotated).
    void PlacedSize(float& w, float& h) const;
    // Advances (x, y) to the next copy position by the row-filling rule.
    void NextCopyPosition(float w, float h, float m, float& x, float& y) const;
};

class TemfPlotter {
public:
    float PrintableWidth = 0;
    float PrintableLength = 0;
    float MediaWidth = 0;
    float MediaHeight = 0;
    std::string PrinterName;
    std::string PrinterDescription;
    std::int32_t DpiX = 0;
    std::int32_t DpiY = 0;
    bool IsPlugin = false;
    std::int32_t QueueIndex = 0;
    std::string OutputFile;
    // The system printer chosen in the queue list for system-printer
    // output; -1 = the system's default one.
    std::int32_t SystemPrinterChoice = -1;
};

// Distinct colours found in layers, each as "$" and eight upper-case hex
// digits of the 0x00BBGGRR value, in first-seen order.
class Tcolorlist {
public:
    static constexpr std::uint32_t kCollectPens = 1;
    static constexpr std::uint32_t kCollectBrushes = 2;

    std::uint32_t CollectMask = 0;
    bool InPath = false;

    // Adds the colour unless the list holds it already; true when added.
    bool AddColour(Colour c);
    static std::string ColourText(Colour c);
    // Plays every layer file and adds the pen and brush colours its drawing
    // records use (as CollectMask asks), in first-seen order.
    void CollectLayerColors(const std::vector<std::string>& files);

    std::vector<std::string> Items;
};

}  // namespace corvan
