#pragma once
// TPluginObject: one loaded output driver library. It resolves the entry
// points of driver_abi.h, writes the driver lines of the debug log and guards
// every call: a missing entry point (or an invalid object) skips the call and
// gives the default result, so a driver exporting only Query_Printer can run
// every command. The object never changes state after construction.
#include "platform/bitmap.h"
#include "plugins/driver_abi.h"

#include <cstdint>
#include <memory>
#include <string>

namespace corvan {

// Short strings: text cut to 255 characters behind a length byte.
void MakeShortString(const std::string& text, DrvShortString out);
std::string ReadShortString(const std::uint8_t* block,
                            std::size_t capacity = DRV_SHORT_STRING_SIZE);

struct DriverEntryPoints {
    Query_Printer_fn Query_Printer = nullptr;
    Initialize_Plugin_fn Initialize_Plugin = nullptr;
    Plugin_Load_Profile_fn Plugin_Load_Profile = nullptr;
    Plugin_Free_Profile_fn Plugin_Free_Profile = nullptr;
    Set_Plugin_Preview_fn Set_Plugin_Preview = nullptr;
    Finalize_Plugin_fn Finalize_Plugin = nullptr;
    Set_Plugin_Data_fn Set_Plugin_Data = nullptr;
    Get_Plugin_Data_fn Get_Plugin_Data = nullptr;
    Choose_Plugin_Data_fn Choose_Plugin_Data = nullptr;
    Set_Plugin_Datatype_fn Set_Plugin_Datatype = nullptr;
    Get_Plugin_Datatype_fn Get_Plugin_Datatype = nullptr;
    Get_GMA_Data_fn Get_GMA_Data = nullptr;
    Get_GMA_Desc_fn Get_GMA_Desc = nullptr;
    Get_Plugin_Settings_fn Get_Plugin_Settings = nullptr;
    Plugin_Rip_BMP_fn Plugin_Rip_BMP = nullptr;
    Prepare_PrintJob_fn Prepare_PrintJob = nullptr;
    Finalize_PrintJob_fn Finalize_PrintJob = nullptr;
    Insert_SpotColor_fn Insert_SpotColor = nullptr;
    Force_InkColor_fn Force_InkColor = nullptr;
    Plugin_SpoolPrintJob_fn Plugin_SpoolPrintJob = nullptr;
    Plugin_OpenPrinter_fn Plugin_OpenPrinter = nullptr;
    Plugin_StartDoc_fn Plugin_StartDoc = nullptr;
    Plugin_StartPage_fn Plugin_StartPage = nullptr;
    Plugin_StartCut_fn Plugin_StartCut = nullptr;
    Plugin_EndCut_fn Plugin_EndCut = nullptr;
    Plugin_EndPage_fn Plugin_EndPage = nullptr;
    Plugin_EndDoc_fn Plugin_EndDoc = nullptr;
    Plugin_ClosePrinter_fn Plugin_ClosePrinter = nullptr;
    Plugin_PrintRow_fn Plugin_PrintRow = nullptr;
    Plugin_PrintVector_fn Plugin_PrintVector = nullptr;
    Plugin_Status_fn Plugin_Status = nullptr;
    Plugin_CustomEvent_fn Plugin_CustomEvent = nullptr;
};

// What Query_Printer reported, decoded.
struct PrinterQuery {
    std::string Name, Description, Extra;
    double PrintableWidth = 0, PrintableLength = 0;
};

// Data types and dialogs the host asks drivers for by number.
inline constexpr std::int32_t kProfileDatatype = 10;    // path of the ICC profile
inline constexpr std::int32_t kColourDialog = 11;       // the driver's colour settings
inline constexpr std::int32_t kGmaMethodDatatype = 21;  // gamut mapping method

class TPluginObject {
public:
    // Loads the library at path (which may be empty or name no file: the
    // object is then invalid).
    // `hostWindow` reaches the driver as data type 23 (0 = no window).
    TPluginObject(const std::string& path, std::uint64_t hostWindow);
    // Sends data type 23 empty (valid objects) and unloads; no Finalize_Plugin.
    ~TPluginObject();
    TPluginObject(const TPluginObject&) = delete;
    TPluginObject& operator=(const TPluginObject&) = delete;

    void* LibHandle = nullptr;
    DriverEntryPoints Entry;
    std::string FileName;
    bool Valid = false;

    PrinterQuery Query_Printer();
    void Query_Printer(TPrinterInfo& info);
    void Initialize_Plugin();
    void Plugin_Load_Profile();
    void Plugin_Free_Profile();
    void Set_Plugin_Preview(const Bitmap24& preview, std::int32_t mode);
    void Finalize_Plugin();
    void Set_Plugin_Data(const void* data, std::int32_t size);
    std::int32_t Get_Plugin_Data(void* buffer);
    bool Choose_Plugin_Data(std::int32_t dialog);
    std::int32_t Set_Plugin_Datatype(std::int32_t type, const std::string& value);
    std::string Get_Plugin_Datatype(std::int32_t type);
    // A copy of the driver's bitmap (released back to the driver), or null.
    std::unique_ptr<Bitmap24> Get_GMA_Data(std::int32_t width, std::int32_t height);
    // PassCount of the driver's settings block (0 when not called).
    std::int32_t Get_Plugin_Settings();
    bool Prepare_PrintJob(std::int32_t srcWidth, std::int32_t srcHeight, std::int32_t devWidth,
                          std::int32_t devHeight, const std::string& jobName);
    void Finalize_PrintJob();
    void Insert_SpotColor(std::int32_t r, std::int32_t g, std::int32_t b, std::int32_t tolerance,
                          std::int32_t L, std::int32_t a, std::int32_t bStar);
    bool Force_InkColor(std::int32_t mode, std::int32_t spot, std::int32_t r, std::int32_t g,
                        std::int32_t b, std::int32_t tolerance);
    std::int32_t Plugin_SpoolPrintJob(const std::string& path);
    bool Plugin_OpenPrinter();
    bool Plugin_StartDoc(const std::string& title);
    bool Plugin_StartPage(std::int32_t pass);
    bool Plugin_StartCut();
    void Plugin_EndCut();
    void Plugin_EndPage();
    void Plugin_EndDoc();
    void Plugin_ClosePrinter();
    bool Plugin_PrintRow(const std::uint8_t* p0, const std::uint8_t* p1, const std::uint8_t* p2,
                         std::int32_t srcWidth, std::int32_t devWidth, std::int32_t row);
    bool Plugin_PrintVector(std::int32_t pointType, double x, double y);
    std::int32_t Plugin_Status();

private:
    void ResolveEntryPoints();
};

}  // namespace corvan
