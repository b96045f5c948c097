#include "plugins/pluginobject.h"

#include "platform/debuglog.h"
#include "platform/folders.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstring>

#include <dlfcn.h>

namespace corvan {

namespace {

bool LowByte(DrvBool result) {
    return (result & 0xFF) != 0;
}

std::string HexAddress(const void* p) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%08" PRIXPTR, reinterpret_cast<std::uintptr_t>(p));
    return buf;
}

// Largest preview we accept back from a driver: a sane bound, so a broken
// driver cannot make us allocate gigabytes.
constexpr std::int64_t kMaxGmaSide = 32768;

std::unique_ptr<Bitmap24> CopyDriverBitmap(const DrvBitmap& b) {
    if (!b.bits || b.width <= 0 || b.height <= 0 || b.width > kMaxGmaSide || b.height > kMaxGmaSide)
        return nullptr;
    if (static_cast<std::int64_t>(b.stride) < 3LL * b.width) return nullptr;
    auto copy = Bitmap24::Create(b.width, b.height);
    if (!copy) return nullptr;
    for (int y = 0; y < b.height; ++y)
        std::memcpy(copy->Row(y),
                    b.bits + static_cast<std::size_t>(y) * static_cast<std::size_t>(b.stride),
                    static_cast<std::size_t>(b.width) * 3);
    return copy;
}

}  // namespace

void MakeShortString(const std::string& text, DrvShortString out) {
    std::memset(out, 0, DRV_SHORT_STRING_SIZE);
    const std::size_t n = std::min<std::size_t>(text.size(), DRV_SHORT_STRING_MAX);
    out[0] = static_cast<std::uint8_t>(n);
    std::memcpy(out + 1, text.data(), n);
}

std::string ReadShortString(const std::uint8_t* block, std::size_t capacity) {
    if (!block || capacity == 0) return {};
    const std::size_t n = std::min<std::size_t>(block[0], capacity - 1);
    return std::string(reinterpret_cast<const char*>(block + 1), n);
}

TPluginObject::TPluginObject(const std::string& path, std::uint64_t hostWindow) {
    FileName.clear();
    Valid = false;
    LogLine(" Create Plugin: " + path);
    if (!FileExists(path)) return;
    // A bare file name would make dlopen search the library path instead.
    const std::string loadPath = path.find('/') == std::string::npos ? "./" + path : path;
    LibHandle = dlopen(loadPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    LogLine(" LoadLib: " + std::to_string(reinterpret_cast<std::uintptr_t>(LibHandle)));
    if (!LibHandle) return;
    FileName = path;
    Entry.Query_Printer = reinterpret_cast<Query_Printer_fn>(dlsym(LibHandle, "Query_Printer"));
    if (!Entry.Query_Printer) return;
    Valid = true;
    LogLine(" Valid");
    Entry.Initialize_Plugin =
        reinterpret_cast<Initialize_Plugin_fn>(dlsym(LibHandle, "Initialize_Plugin"));
    LogLine("-@Initialize_Plugin= " + HexAddress(reinterpret_cast<void*>(Entry.Initialize_Plugin)));
    ResolveEntryPoints();
    Set_Plugin_Datatype(DRV_DATA_WINDOW, std::to_string(hostWindow));
}

void TPluginObject::ResolveEntryPoints() {
#define CORVAN_RESOLVE(name) Entry.name = reinterpret_cast<name##_fn>(dlsym(LibHandle, #name))
    CORVAN_RESOLVE(Plugin_Load_Profile);
    CORVAN_RESOLVE(Plugin_Free_Profile);
    CORVAN_RESOLVE(Set_Plugin_Preview);
    CORVAN_RESOLVE(Finalize_Plugin);
    CORVAN_RESOLVE(Set_Plugin_Data);
    CORVAN_RESOLVE(Get_Plugin_Data);
    CORVAN_RESOLVE(Choose_Plugin_Data);
    CORVAN_RESOLVE(Set_Plugin_Datatype);
    CORVAN_RESOLVE(Get_Plugin_Datatype);
    CORVAN_RESOLVE(Get_GMA_Data);
    CORVAN_RESOLVE(Get_GMA_Desc);
    CORVAN_RESOLVE(Get_Plugin_Settings);
    CORVAN_RESOLVE(Plugin_Rip_BMP);
    CORVAN_RESOLVE(Prepare_PrintJob);
    CORVAN_RESOLVE(Finalize_PrintJob);
    CORVAN_RESOLVE(Insert_SpotColor);
    CORVAN_RESOLVE(Force_InkColor);
    CORVAN_RESOLVE(Plugin_SpoolPrintJob);
    CORVAN_RESOLVE(Plugin_OpenPrinter);
    CORVAN_RESOLVE(Plugin_StartDoc);
    CORVAN_RESOLVE(Plugin_StartPage);
    CORVAN_RESOLVE(Plugin_StartCut);
    CORVAN_RESOLVE(Plugin_EndCut);
    CORVAN_RESOLVE(Plugin_EndPage);
    CORVAN_RESOLVE(Plugin_EndDoc);
    CORVAN_RESOLVE(Plugin_ClosePrinter);
    CORVAN_RESOLVE(Plugin_PrintRow);
    CORVAN_RESOLVE(Plugin_PrintVector);
    CORVAN_RESOLVE(Plugin_Status);
    CORVAN_RESOLVE(Plugin_CustomEvent);
#undef CORVAN_RESOLVE
}

TPluginObject::~TPluginObject() {
    LogLine("PI: DESTROY");
    Set_Plugin_Datatype(DRV_DATA_WINDOW, "");
    if (LibHandle) dlclose(LibHandle);
}

void TPluginObject::Query_Printer(TPrinterInfo& info) {
    LogLine("PI: QUERY PRINTER");
    if (Entry.Query_Printer)
        Entry.Query_Printer(&info);
    else
        info.Reserved = -1;
}

PrinterQuery TPluginObject::Query_Printer() {
    TPrinterInfo info;
    std::memset(&info, 0, sizeof info);
    Query_Printer(info);
    PrinterQuery q;
    q.Name = ReadShortString(info.Name);
    q.Description = ReadShortString(info.Description);
    q.Extra = ReadShortString(info.Extra, sizeof info.Extra);
    q.PrintableWidth = info.PrintableWidth;
    q.PrintableLength = info.PrintableLength;
    return q;
}

void TPluginObject::Initialize_Plugin() {
    LogLine("PI: INITIALIZE PLUGIN");
    if (Entry.Initialize_Plugin) Entry.Initialize_Plugin();
}

void TPluginObject::Plugin_Load_Profile() {
    LogLine("PI: LOAD PROFILE");
    if (Entry.Plugin_Load_Profile) Entry.Plugin_Load_Profile();
}

void TPluginObject::Plugin_Free_Profile() {
    if (!Entry.Plugin_Free_Profile) return;
    LogLine("PI: FREE PROFILE");
    Entry.Plugin_Free_Profile();
}

void TPluginObject::Set_Plugin_Preview(const Bitmap24& preview, std::int32_t mode) {
    if (!Entry.Set_Plugin_Preview) return;
    LogLine("PI: SET PREVIEW");
    // A view of our buffer: the driver copies what it needs during the call.
    DrvBitmap b{preview.Width(), preview.Height(), static_cast<std::int32_t>(preview.Stride()),
                const_cast<std::uint8_t*>(preview.Bits()), nullptr};
    Entry.Set_Plugin_Preview(&b, mode, 0);
}

void TPluginObject::Finalize_Plugin() {
    LogLine("PI: FINALIZE PLUGIN");
    if (Entry.Finalize_Plugin) Entry.Finalize_Plugin();
}

void TPluginObject::Set_Plugin_Data(const void* data, std::int32_t size) {
    if (!Valid) return;
    LogLine("PI: SET DATA");
    if (Entry.Set_Plugin_Data) Entry.Set_Plugin_Data(data, size);
}

std::int32_t TPluginObject::Get_Plugin_Data(void* buffer) {
    if (!Valid) return 0;
    LogLine("PI: GET DATA");
    return Entry.Get_Plugin_Data ? Entry.Get_Plugin_Data(buffer) : 0;
}

bool TPluginObject::Choose_Plugin_Data(std::int32_t dialog) {
    if (!Valid) return false;
    LogLine("PI: CHOOSE DATA");
    return Entry.Choose_Plugin_Data && LowByte(Entry.Choose_Plugin_Data(dialog));
}

std::int32_t TPluginObject::Set_Plugin_Datatype(std::int32_t type, const std::string& value) {
    if (!Valid) return 0;
    LogLine("PI: SET DATATYPE " + std::to_string(type) + " " + value);
    if (!Entry.Set_Plugin_Datatype) return 0;
    DrvShortString s;
    MakeShortString(value, s);
    return Entry.Set_Plugin_Datatype(type, s);
}

std::string TPluginObject::Get_Plugin_Datatype(std::int32_t type) {
    LogLine("PI: GET DATATYPE " + std::to_string(type));
    if (!Valid || !Entry.Get_Plugin_Datatype) return {};
    DrvShortString s;
    std::memset(s, 0, sizeof s);
    Entry.Get_Plugin_Datatype(type, s);
    return ReadShortString(s);
}

std::unique_ptr<Bitmap24> TPluginObject::Get_GMA_Data(std::int32_t width, std::int32_t height) {
    if (!Valid) return nullptr;
    LogLine("PI: GET GMADATA 2");
    if (!Entry.Get_GMA_Data) return nullptr;
    DrvBitmap* b = Entry.Get_GMA_Data(2, 0, width, height);
    if (!b) return nullptr;
    auto copy = CopyDriverBitmap(*b);
    if (b->release) b->release(b);
    return copy;
}

std::int32_t TPluginObject::Get_Plugin_Settings() {
    if (!Valid) return 0;
    LogLine("PI: GET SETTINGS");
    if (!Entry.Get_Plugin_Settings) return 0;
    TPluginSettings settings;
    std::memset(&settings, 0, sizeof settings);
    Entry.Get_Plugin_Settings(&settings);
    return settings.PassCount;
}

bool TPluginObject::Prepare_PrintJob(std::int32_t srcWidth, std::int32_t srcHeight,
                                     std::int32_t devWidth, std::int32_t devHeight,
                                     const std::string& jobName) {
    if (!Valid) return false;
    LogLine("PI: PREPARE PRINTJOB ");
    if (!Entry.Prepare_PrintJob) return false;
    DrvShortString s;
    MakeShortString(jobName, s);
    return LowByte(Entry.Prepare_PrintJob(srcWidth, srcHeight, devWidth, devHeight, 1, s));
}

void TPluginObject::Finalize_PrintJob() {
    if (!Valid) return;
    LogLine("PI: FINALIZE PRINTJOB");
    if (Entry.Finalize_PrintJob) Entry.Finalize_PrintJob();
}

void TPluginObject::Insert_SpotColor(std::int32_t r, std::int32_t g, std::int32_t b,
                                     std::int32_t tolerance, std::int32_t L, std::int32_t a,
                                     std::int32_t bStar) {
    if (Entry.Insert_SpotColor) Entry.Insert_SpotColor(r, g, b, tolerance, L, a, bStar);
}

bool TPluginObject::Force_InkColor(std::int32_t mode, std::int32_t spot, std::int32_t r,
                                   std::int32_t g, std::int32_t b, std::int32_t tolerance) {
    return Entry.Force_InkColor && LowByte(Entry.Force_InkColor(mode, spot, r, g, b, tolerance));
}

std::int32_t TPluginObject::Plugin_SpoolPrintJob(const std::string& path) {
    if (!Entry.Plugin_SpoolPrintJob) return 0;
    LogLine("PI: SPOOL PRINTJOB " + path);
    return Entry.Plugin_SpoolPrintJob(path.c_str());
}

bool TPluginObject::Plugin_OpenPrinter() {
    if (!Valid) return false;
    LogLine("PI: OPEN PRINTER");
    return Entry.Plugin_OpenPrinter && LowByte(Entry.Plugin_OpenPrinter());
}

bool TPluginObject::Plugin_StartDoc(const std::string& title) {
    if (!Valid || !Entry.Plugin_StartDoc) return false;
    DrvShortString s;
    MakeShortString(title, s);
    return LowByte(Entry.Plugin_StartDoc(s));
}

bool TPluginObject::Plugin_StartPage(std::int32_t pass) {
    return Valid && Entry.Plugin_StartPage && LowByte(Entry.Plugin_StartPage(pass));
}

bool TPluginObject::Plugin_StartCut() {
    return Valid && Entry.Plugin_StartCut && LowByte(Entry.Plugin_StartCut());
}

void TPluginObject::Plugin_EndCut() {
    if (Valid && Entry.Plugin_EndCut) Entry.Plugin_EndCut();
}

void TPluginObject::Plugin_EndPage() {
    if (Valid && Entry.Plugin_EndPage) Entry.Plugin_EndPage();
}

void TPluginObject::Plugin_EndDoc() {
    if (Valid && Entry.Plugin_EndDoc) Entry.Plugin_EndDoc();
}

void TPluginObject::Plugin_ClosePrinter() {
    if (Valid && Entry.Plugin_ClosePrinter) Entry.Plugin_ClosePrinter();
}

bool TPluginObject::Plugin_PrintRow(const std::uint8_t* p0, const std::uint8_t* p1,
                                    const std::uint8_t* p2, std::int32_t srcWidth,
                                    std::int32_t devWidth, std::int32_t row) {
    return Entry.Plugin_PrintRow &&
           LowByte(Entry.Plugin_PrintRow(p0, p1, p2, 0, srcWidth, devWidth, row));
}

bool TPluginObject::Plugin_PrintVector(std::int32_t pointType, double x, double y) {
    return Entry.Plugin_PrintVector && LowByte(Entry.Plugin_PrintVector(pointType, x, y));
}

std::int32_t TPluginObject::Plugin_Status() {
    if (!Valid || !Entry.Plugin_Status) return 0;
    return Entry.Plugin_Status();
}

}  // namespace corvan
