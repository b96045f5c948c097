#pragma once
// Billboard tiles: the grid of equal tiles a large job is printed in, the
// crop section each tile prints, and the printed marks kept in the project
// file. TileEditor is the crop-and-tile dialog without its window: it edits a
// copy of the job's crop block, and the window (or the command line) copies
// the block back into the job when the operator accepts.
#include "job/emffile.h"
#include "job/projectfile.h"

#include <string>
#include <vector>

namespace corvan {

class UserInterface;
class JobSession;

struct MmRect {
    float left = 0, top = 0, right = 0, bottom = 0;
    float Width() const { return right - left; }
    float Height() const { return bottom - top; }
};

struct TileGrid {
    int columns = 0, rows = 0;
    int Count() const { return columns * rows; }
};

// The largest tile the media takes: the media width less two crop marks with
// automatic sizing; the media length likewise on sheet media, 6 m on a roll.
struct MediaLimits {
    float width = 0, height = 0;
};
MediaLimits TileMediaLimits(const TemfFile& job, const TemfPlotter& device);

// Columns and rows of the block's tile size over the page; 0 x 0 without a
// tile size. The 0.1 mm keeps a page of exactly two tiles at two columns.
TileGrid GridOf(const TCropTileBlock& block, float pageWidth, float pageHeight);
// Tile n (1-based, numbered row by row from the top left) enlarged by the
// bleed and clamped into the page.
MmRect TileRect(const TCropTileBlock& block, const TileGrid& grid, int tile, float pageWidth,
                float pageHeight);
// The tile under a point in millimetres; 0 outside the page. A point on a
// grid line belongs to the tile right of or below it.
int TileAtPoint(const TCropTileBlock& block, const TileGrid& grid, float pageWidth,
                float pageHeight, float x, float y);
// Each crop edge held inside the page, then the edges ordered.
void ClampCrop(TCropTileBlock& block, float pageWidth, float pageHeight);

// Whether a crop of w x h mm goes on the media, turned across it if it must.
bool CropFits(float width, float height, const MediaLimits& limits);
// A landscape crop wider than the media prints turned.
bool CropWantsRotation(const TCropTileBlock& block, const TemfFile& job, const TemfPlotter& device);

// What a pointer at (x, y) grabs of the crop rectangle (pixels, ends
// included): 0 nothing, 10 the centre (move), 1..8 a corner or edge
// (1 top left, 2 left, 3 top, 4 top right, 5 right, 6 bottom right,
// 7 bottom, 8 bottom left).
int HitTest(int left, int top, int right, int bottom, int x, int y);

// The most tiles a grid may have, kept among the per-user settings.
int ReadTileMaximum();
void WriteTileMaximum(int maximum);

class TileEditor {
public:
    TileEditor(UserInterface& ui, const TCropTileBlock& block, float pageWidth, float pageHeight,
               const MediaLimits& limits, int maximum, bool metric);

    // Refills the derived state: default tile size, grid (warning when it has
    // too many tiles), current tile and its crop, or the clamped free crop.
    void UpdateAll();

    void SetMultiTiles(bool on);
    void SetCropEdges(float left, float top, float right, float bottom);
    void ResetCrop();  // the whole page
    void SetTileSize(float width, float height);
    void SetBleed(float x, float y, bool separate);
    void SelectTile(int tile);
    void SetRotateOnPrinter(bool on);
    void SetMediaSize(float width, float height);
    void ResetMediaSize();
    void AutoTile();
    // Tile sizes that give exactly this many tiles; false (nothing changed)
    // without a grid or for counts below 1.
    bool SetTileCounts(int columns, int rows);
    void EquallyDistribute(bool horizontal);
    void SetTileText(bool on, bool reversed, bool thick, float size);
    // Drag of the free crop: the edges a handle code moves follow the point.
    void DragTo(int code, float x, float y);

    // The printed-tile check list, one entry per tile of the grid.
    void CreateTileList();  // rebuilt, marks read from the remembered project
    void ResetTiles();      // current tile 0, list emptied, project forgotten
    void ClearPrinted();
    void SetPrinted(int tile, bool printed);
    bool IsPrinted(int tile) const;
    // Writes the marks into the job's project file; nothing for an unsaved job.
    void SaveMarks(const std::string& projectFile) const;
    void RememberProject(const std::string& projectFile) { projectFile_ = projectFile; }

    std::vector<std::string> TileListLines() const;
    std::string StatusText() const;  // "Tile: n of m. ..." or empty
    std::string CroppedSizeText() const;
    std::string PageSizeText() const;
    std::string CropPercentText() const;
    bool Fits() const;

    const TCropTileBlock& Block() const { return block_; }
    const TileGrid& Grid() const { return grid_; }
    float PageWidth() const { return pageWidth_; }
    float PageHeight() const { return pageHeight_; }
    const MediaLimits& Limits() const { return limits_; }
    int Maximum() const { return maximum_; }
    void SetMaximum(int maximum) { maximum_ = maximum; }
    std::size_t ListSize() const { return printed_.size(); }

private:
    void CheckGrid();
    void DefaultTileSize();
    MmRect Crop() const;

    UserInterface& ui_;
    TCropTileBlock block_;
    float pageWidth_, pageHeight_;
    MediaLimits limits_;
    int maximum_;
    bool metric_;
    TileGrid grid_;
    std::vector<bool> printed_;
    std::string projectFile_;
};

// Makes tile `tile` of the job's saved grid its crop section, as accepting
// the tile dialog on that tile does; false with a message when the job has
// no such tile.
bool SelectJobTile(JobSession& app, int tile, std::string& error);
// Copies an accepted dialog block into the job: crop section on, rotation
// chosen from the crop, layout updated.
void ApplyCropBlock(JobSession& app, const TCropTileBlock& block);

}  // namespace corvan
