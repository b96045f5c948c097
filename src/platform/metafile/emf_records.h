#pragma once
// Record type numbers and the constants of the enhanced-metafile format that
// the reader, the player and the writer share.
#include <cstdint>

namespace corvan::emf {

enum RecordType : std::uint32_t {
    kHeader = 1, kPolyBezier = 2, kPolygon = 3, kPolyline = 4, kPolyBezierTo = 5,
    kPolylineTo = 6, kPolyPolyline = 7, kPolyPolygon = 8, kSetWindowExtEx = 9,
    kSetWindowOrgEx = 10, kSetViewportExtEx = 11, kSetViewportOrgEx = 12,
    kSetBrushOrgEx = 13, kEof = 14, kSetPixelV = 15, kSetMapperFlags = 16,
    kSetMapMode = 17, kSetBkMode = 18, kSetPolyFillMode = 19, kSetRop2 = 20,
    kSetStretchBltMode = 21, kSetTextAlign = 22, kSetColorAdjustment = 23,
    kSetTextColor = 24, kSetBkColor = 25, kOffsetClipRgn = 26, kMoveToEx = 27,
    kSetMetaRgn = 28, kExcludeClipRect = 29, kIntersectClipRect = 30,
    kScaleViewportExtEx = 31, kScaleWindowExtEx = 32, kSaveDc = 33, kRestoreDc = 34,
    kSetWorldTransform = 35, kModifyWorldTransform = 36, kSelectObject = 37,
    kCreatePen = 38, kCreateBrushIndirect = 39, kDeleteObject = 40, kAngleArc = 41,
    kEllipse = 42, kRectangle = 43, kRoundRect = 44, kArc = 45, kChord = 46, kPie = 47,
    kSelectPalette = 48, kCreatePalette = 49, kSetPaletteEntries = 50,
    kResizePalette = 51, kRealizePalette = 52, kExtFloodFill = 53, kLineTo = 54,
    kArcTo = 55, kPolyDraw = 56, kSetArcDirection = 57, kSetMiterLimit = 58,
    kBeginPath = 59, kEndPath = 60, kCloseFigure = 61, kFillPath = 62,
    kStrokeAndFillPath = 63, kStrokePath = 64, kFlattenPath = 65, kWidenPath = 66,
    kSelectClipPath = 67, kAbortPath = 68, kGdiComment = 70, kFillRgn = 71,
    kFrameRgn = 72, kInvertRgn = 73, kPaintRgn = 74, kExtSelectClipRgn = 75,
    kBitBlt = 76, kStretchBlt = 77, kMaskBlt = 78, kPlgBlt = 79,
    kSetDiBitsToDevice = 80, kStretchDiBits = 81, kExtCreateFontIndirectW = 82,
    kExtTextOutA = 83, kExtTextOutW = 84, kPolyBezier16 = 85, kPolygon16 = 86,
    kPolyline16 = 87, kPolyBezierTo16 = 88, kPolylineTo16 = 89, kPolyPolyline16 = 90,
    kPolyPolygon16 = 91, kPolyDraw16 = 92, kCreateMonoBrush = 93,
    kCreateDibPatternBrushPt = 94, kExtCreatePen = 95, kPolyTextOutA = 96,
    kPolyTextOutW = 97, kSetIcmMode = 98, kCreateColorSpace = 99,
    kSetColorSpace = 100, kDeleteColorSpace = 101, kGlsRecord = 102,
    kGlsBoundedRecord = 103, kPixelFormat = 104, kDrawEscape = 105,
    kExtEscape = 106, kSmallTextOut = 108, kForceUfiMapping = 109,
    kNamedEscape = 110, kColorCorrectPalette = 111, kSetIcmProfileA = 112,
    kSetIcmProfileW = 113, kAlphaBlend = 114, kSetLayout = 115,
    kTransparentBlt = 116, kGradientFill = 118, kSetLinkedUfis = 119,
    kSetTextJustification = 120, kColorMatchToTargetW = 121,
    kCreateColorSpaceW = 122,
    kMaxRecordType = 122,
};

// The header record's signature " EMF".
constexpr std::uint32_t kSignature = 0x464D4520;

// Handle indices with this bit name a stock object.
constexpr std::uint32_t kStockBit = 0x80000000u;
enum StockObject : std::uint32_t {
    kWhiteBrush = 0, kLtGrayBrush = 1, kGrayBrush = 2, kDkGrayBrush = 3,
    kBlackBrush = 4, kNullBrush = 5, kWhitePen = 6, kBlackPen = 7, kNullPen = 8,
    kOemFixedFont = 10, kAnsiFixedFont = 11, kAnsiVarFont = 12, kSystemFont = 13,
    kDeviceDefaultFont = 14, kDefaultPalette = 15, kSystemFixedFont = 16,
    kDefaultGuiFont = 17, kDcBrush = 18, kDcPen = 19,
};

enum MapMode : std::int32_t {
    kMmText = 1, kMmLoMetric = 2, kMmHiMetric = 3, kMmLoEnglish = 4,
    kMmHiEnglish = 5, kMmTwips = 6, kMmIsotropic = 7, kMmAnisotropic = 8,
};

enum PenStyle : std::uint32_t {
    kPsSolid = 0, kPsDash = 1, kPsDot = 2, kPsDashDot = 3, kPsDashDotDot = 4,
    kPsNull = 5, kPsInsideFrame = 6, kPsUserStyle = 7, kPsAlternate = 8,
    kPsStyleMask = 0xF,
    kPsEndcapRound = 0x000, kPsEndcapSquare = 0x100, kPsEndcapFlat = 0x200,
    kPsEndcapMask = 0xF00,
    kPsJoinRound = 0x0000, kPsJoinBevel = 0x1000, kPsJoinMiter = 0x2000,
    kPsJoinMask = 0xF000,
    kPsGeometric = 0x10000, kPsTypeMask = 0xF0000,
};

enum BrushStyle : std::uint32_t {
    kBsSolid = 0, kBsNull = 1, kBsHatched = 2, kBsPattern = 3, kBsDibPattern = 5,
    kBsDibPatternPt = 6,
};

enum HatchStyle : std::uint32_t {
    kHsHorizontal = 0, kHsVertical = 1, kHsFDiagonal = 2, kHsBDiagonal = 3,
    kHsCross = 4, kHsDiagCross = 5,
};

enum RegionMode : std::uint32_t { kRgnAnd = 1, kRgnOr = 2, kRgnXor = 3, kRgnDiff = 4, kRgnCopy = 5 };

enum BackgroundMode : std::uint32_t { kTransparent = 1, kOpaque = 2 };
enum FillMode : std::uint32_t { kAlternate = 1, kWinding = 2 };
enum ArcDirection : std::uint32_t { kCounterClockwise = 1, kClockwise = 2 };
enum GraphicsMode : std::uint32_t { kCompatible = 1, kAdvanced = 2 };
enum WorldTransformMode : std::uint32_t {
    kMwtIdentity = 1, kMwtLeftMultiply = 2, kMwtRightMultiply = 3, kMwtSet = 4,
};

// Path point types as GetPath reports them.
enum PathPointType : std::uint8_t {
    kPtCloseFigure = 1, kPtLineTo = 2, kPtBezierTo = 4, kPtMoveTo = 6,
};

// ROP2 codes, 1 (black) to 16 (white).
enum Rop2 : std::uint32_t {
    kR2Black = 1, kR2NotMergePen, kR2MaskNotPen, kR2NotCopyPen, kR2MaskPenNot,
    kR2Not, kR2XorPen, kR2NotMaskPen, kR2MaskPen, kR2NotXorPen, kR2Nop,
    kR2MergeNotPen, kR2CopyPen, kR2MergePenNot, kR2MergePen, kR2White,
};

}  // namespace corvan::emf
