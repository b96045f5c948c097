#include "job/emffile.h"

#include "platform/inifile.h"
#include "platform/debuglog.h"

#include <algorithm>
#include <cstdio>

namespace corvan {

TemfFile::TemfFile() { Reset(210, 297); }

void TemfFile::Reset(float width, float height) {
    PageWidth = width;
    PageHeight = height;
    XOffset = YOffset = 0;
    XGap = YGap = 25;
    Copies = 1;
    Rotate = MirrorX = MirrorY = CropSection = false;
    CheckCrop(false);
    MediaWidth = MediaHeight = 0;
    ComputeLayout();
    PreviewDirty = true;
    SpotColors = ContourCut = HasImage = CropSection = false;
    CutColor = 0xC0C0C0;
    CutLines = true;
    CutSolid = PrintContours = TileBox = DeviceCM = false;
    DrawImage = Interpolate = true;
    Interpolation = 10;
    RenderDPI = 360;
    GmaMethod = 0;
    MultiTiles = false;
    TileNo = TileCount = 0;
    MaxWidth = MaxHeight = BleedX = BleedY = TileWidth = TileHeight = 0;
    RotateOnPrinter = TileText = false;
    TextSize = 6;
    ReverseText = ThickText = CropMarks = Border = false;
    CropmarkSize = 20;
    CropOffset = 0;
    AutoSize = true;
}

void TemfFile::RecordPrintedTile() {
    LogLine("Dump PrintRecord: " + FileName);
    if (FileName.empty()) return;
    WriteProfileString(FileName, "Printed Tiles", std::to_string(TileNo), "1");
}

bool Tcolorlist::AddColour(Colour c) {
    std::string text = ColourText(c);
    if (std::find(Items.begin(), Items.end(), text) != Items.end()) return false;
    Items.push_back(std::move(text));
    return true;
}

std::string Tcolorlist::ColourText(Colour c) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "$%08X", static_cast<unsigned>(c));
    return buf;
}

}  // namespace corvan
