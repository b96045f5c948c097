// The recording driver: a driver for tests of the host. It appends one line
// per call, with the arguments, to a log file and answers as a small
// configuration file beside the library says. Build variants leave out
// entry points (RECORDER_ONLY_QUERY exports Query_Printer alone,
// RECORDER_NO_QUERY everything but Query_Printer).
//
// Configuration: "<library path>.cfg", lines "key=value":
//   log=PATH          the log (default "<library path>.log")
//   tag=TEXT          first word of every log line (default the file name)
//   name= description= extra= width= length=   what Query_Printer reports
//   data.N=TEXT       initial value of data type N
//   problem=A,B       entry points whose problem result is true
//   choose=0|1        Choose_Plugin_Data's answer (default 1)
//   status_after=N    Plugin_Status is 1 once N device rows were printed
//   passcount=N       PassCount of Get_Plugin_Settings
//   ink.M=0|1         Force_InkColor's answer for mode M
//   blob=N            size of the settings blob (bytes i*7+N mod 256)
//   gma=0|1           Get_GMA_Data returns a bitmap of the asked size
//   count_ink=0|1     Plugin_PrintRow also logs the row's non-white pixels
#include "driver_abi.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <dlfcn.h>

namespace {

struct State {
    std::string libPath, logPath, tag;
    std::map<std::string, std::string> cfg;
    std::map<int, std::string> data;
    std::set<std::string> problems;
    std::vector<std::uint8_t> blob;
    long rowsPrinted = 0;
};

// Freed by the library's fini function, which runs after every exit-time
// destructor of the host: a host may still call in from those, and a static
// State would be gone by then.
State* g_state = nullptr;

State& S() {
    if (!g_state) g_state = new State;
    return *g_state;
}

std::string Cfg(const std::string& key, const std::string& def = "") {
    auto it = S().cfg.find(key);
    return it == S().cfg.end() ? def : it->second;
}
long CfgInt(const std::string& key, long def) {
    const std::string v = Cfg(key);
    return v.empty() ? def : std::strtol(v.c_str(), nullptr, 10);
}

void Log(const std::string& line) {
    if (!g_state) return;  // called after the library was finalised
    std::FILE* f = std::fopen(S().logPath.c_str(), "ab");
    if (!f) return;
    std::fprintf(f, "%s %s\n", S().tag.c_str(), line.c_str());
    std::fclose(f);
}

[[maybe_unused]] std::string Str(const uint8_t* s) {
    return s ? std::string(reinterpret_cast<const char*>(s + 1), s[0]) : std::string("<null>");
}

void Fill(uint8_t* out, const std::string& text) {
    const std::size_t n = text.size() > 255 ? 255 : text.size();
    out[0] = static_cast<uint8_t>(n);
    std::memcpy(out + 1, text.data(), n);
}

[[maybe_unused]] std::string Hash(const std::uint8_t* p, std::size_t n) {
    std::uint32_t h = 2166136261u;
    for (std::size_t i = 0; i < n; ++i) h = (h ^ p[i]) * 16777619u;
    char buf[16];
    std::snprintf(buf, sizeof buf, "%08X", h);
    return buf;
}

[[maybe_unused]] DrvBool Problem(const char* name) {
    return S().problems.count(name) ? 1 : 0;
}

[[maybe_unused]] std::string Args(std::initializer_list<long> values) {
    std::string out;
    for (long v : values) out += " " + std::to_string(v);
    return out;
}

void ReadConfig() {
    State& s = S();
    std::ifstream in(s.libPath + ".cfg");
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::size_t eq = line.find('=');
        if (eq != std::string::npos) s.cfg[line.substr(0, eq)] = line.substr(eq + 1);
    }
    s.logPath = Cfg("log", s.libPath + ".log");
    s.tag = Cfg("tag", s.libPath.substr(s.libPath.find_last_of('/') + 1));
    for (const auto& [k, v] : s.cfg)
        if (k.rfind("data.", 0) == 0) s.data[std::atoi(k.c_str() + 5)] = v;
    std::stringstream problems(Cfg("problem"));
    std::string name;
    while (std::getline(problems, name, ',')) s.problems.insert(name);
    const long size = CfgInt("blob", 16);
    s.blob.resize(static_cast<std::size_t>(size > 0 ? size : 0));
    for (std::size_t i = 0; i < s.blob.size(); ++i)
        s.blob[i] = static_cast<std::uint8_t>(i * 7 + size);
}

__attribute__((destructor)) void OnUnload() {
    Log("unload");
    delete g_state;
    g_state = nullptr;
}

__attribute__((constructor)) void OnLoad() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&OnLoad), &info) && info.dli_fname)
        S().libPath = info.dli_fname;
    ReadConfig();
    Log("load");
}

[[maybe_unused]] void ReleaseBitmap(DrvBitmap* b) {
    delete[] b->bits;
    delete b;
}

}  // namespace

extern "C" {

#if !defined(RECORDER_NO_QUERY)
CORVAN_DRV_EXPORT void Query_Printer(TPrinterInfo* info) {
    Log("Query_Printer");
    Fill(info->Name, Cfg("name", "Recorder"));
    Fill(info->Description, Cfg("description", "Recording test driver"));
    const std::string extra = Cfg("extra", "rec");
    info->Extra[0] = static_cast<uint8_t>(extra.size() > 35 ? 35 : extra.size());
    std::memcpy(info->Extra + 1, extra.data(), info->Extra[0]);
    info->PrintableWidth = std::atof(Cfg("width", "1000").c_str());
    info->PrintableLength = std::atof(Cfg("length", "0").c_str());
}
#endif

#if !defined(RECORDER_ONLY_QUERY)
CORVAN_DRV_EXPORT void Initialize_Plugin(void) {
    Log("Initialize_Plugin");
}
CORVAN_DRV_EXPORT void Finalize_Plugin(void) {
    Log("Finalize_Plugin");
}
CORVAN_DRV_EXPORT void Plugin_Load_Profile(void) {
    Log("Plugin_Load_Profile");
}
CORVAN_DRV_EXPORT void Plugin_Free_Profile(void) {
    Log("Plugin_Free_Profile");
}

CORVAN_DRV_EXPORT void Set_Plugin_Preview(DrvBitmap* b, int32_t mode, int32_t zero) {
    Log("Set_Plugin_Preview " + std::to_string(b->width) + "x" + std::to_string(b->height) +
        Args({mode, zero}));
}

CORVAN_DRV_EXPORT void Set_Plugin_Data(const void* data, int32_t size) {
    const auto* p = static_cast<const std::uint8_t*>(data);
    S().blob.assign(p, p + (size > 0 ? size : 0));
    Log("Set_Plugin_Data " + std::to_string(size) + " " + Hash(S().blob.data(), S().blob.size()));
}

CORVAN_DRV_EXPORT int32_t Get_Plugin_Data(void* buffer) {
    const auto n = static_cast<int32_t>(S().blob.size());
    Log(std::string("Get_Plugin_Data ") + (buffer ? "buffer" : "null"));
    if (buffer) std::memcpy(buffer, S().blob.data(), S().blob.size());
    return n;
}

CORVAN_DRV_EXPORT DrvBool Choose_Plugin_Data(int32_t dialog) {
    Log("Choose_Plugin_Data" + Args({dialog}));
    // Returned as configured, so tests can check that only the low byte counts.
    return static_cast<DrvBool>(CfgInt("choose", 1));
}

CORVAN_DRV_EXPORT int32_t Set_Plugin_Datatype(int32_t type, const uint8_t* value) {
    Log("Set_Plugin_Datatype " + std::to_string(type) + " " + Str(value));
    S().data[type] = Str(value);
    return 0;
}

CORVAN_DRV_EXPORT void Get_Plugin_Datatype(int32_t type, uint8_t* value) {
    Log("Get_Plugin_Datatype" + Args({type}));
    auto it = S().data.find(type);
    Fill(value, it == S().data.end() ? "" : it->second);
}

CORVAN_DRV_EXPORT DrvBitmap* Get_GMA_Data(int32_t two, int32_t zero, int32_t w, int32_t h) {
    Log("Get_GMA_Data" + Args({two, zero, w, h}));
    if (!CfgInt("gma", 0) || w <= 0 || h <= 0) return nullptr;
    auto* b = new DrvBitmap{w, h, w * 3, new uint8_t[static_cast<std::size_t>(w) * 3 * h],
                            &ReleaseBitmap};
    std::memset(b->bits, 0x80, static_cast<std::size_t>(w) * 3 * h);
    return b;
}

CORVAN_DRV_EXPORT void Get_Plugin_Settings(TPluginSettings* s) {
    Log("Get_Plugin_Settings");
    s->PassCount = static_cast<int32_t>(CfgInt("passcount", 1));
}

CORVAN_DRV_EXPORT DrvBool Prepare_PrintJob(int32_t sw, int32_t sh, int32_t dw, int32_t dh,
                                           int32_t one, const uint8_t* name) {
    Log("Prepare_PrintJob" + Args({sw, sh, dw, dh, one}) + " " + Str(name));
    S().rowsPrinted = 0;
    return Problem("Prepare_PrintJob");
}

CORVAN_DRV_EXPORT void Finalize_PrintJob(void) {
    Log("Finalize_PrintJob");
}

CORVAN_DRV_EXPORT void Insert_SpotColor(int32_t r, int32_t g, int32_t b, int32_t tol, int32_t L,
                                        int32_t a, int32_t bb) {
    Log("Insert_SpotColor" + Args({r, g, b, tol, L, a, bb}));
}

CORVAN_DRV_EXPORT DrvBool Force_InkColor(int32_t mode, int32_t spot, int32_t r, int32_t g,
                                         int32_t b, int32_t tol) {
    Log("Force_InkColor" + Args({mode, spot, r, g, b, tol}));
    return CfgInt("ink." + std::to_string(mode), 0) ? 1 : 0;
}

CORVAN_DRV_EXPORT int32_t Plugin_SpoolPrintJob(const char* path) {
    Log(std::string("Plugin_SpoolPrintJob ") + (path ? path : "<null>"));
    return 0;
}

CORVAN_DRV_EXPORT DrvBool Plugin_OpenPrinter(void) {
    Log("Plugin_OpenPrinter");
    return Problem("Plugin_OpenPrinter");
}
CORVAN_DRV_EXPORT DrvBool Plugin_StartDoc(const uint8_t* title) {
    Log("Plugin_StartDoc " + Str(title));
    return Problem("Plugin_StartDoc");
}
CORVAN_DRV_EXPORT DrvBool Plugin_StartPage(int32_t pass) {
    Log("Plugin_StartPage" + Args({pass}));
    return Problem("Plugin_StartPage");
}
CORVAN_DRV_EXPORT DrvBool Plugin_StartCut(void) {
    Log("Plugin_StartCut");
    return Problem("Plugin_StartCut");
}
CORVAN_DRV_EXPORT void Plugin_EndCut(void) {
    Log("Plugin_EndCut");
}
CORVAN_DRV_EXPORT void Plugin_EndPage(void) {
    Log("Plugin_EndPage");
}
CORVAN_DRV_EXPORT void Plugin_EndDoc(void) {
    Log("Plugin_EndDoc");
}
CORVAN_DRV_EXPORT void Plugin_ClosePrinter(void) {
    Log("Plugin_ClosePrinter");
}

CORVAN_DRV_EXPORT DrvBool Plugin_PrintRow(const uint8_t* p0, const uint8_t* p1, const uint8_t* p2,
                                          int32_t zero, int32_t sw, int32_t dw, int32_t row) {
    // The first pixel of each plane shows which source row was announced;
    // with count_ink=1 the number of pixels that are not white follows.
    std::string ink;
    if (CfgInt("count_ink", 0)) {
        int n = 0;
        for (int32_t x = 0; x < sw; ++x) n += p0[x] != 255 || p1[x] != 255 || p2[x] != 255;
        ink = " ink " + std::to_string(n);
    }
    Log("Plugin_PrintRow" + Args({zero, sw, dw, row}) + Args({p0[0], p1[0], p2[0]}) + ink);
    if (row >= 0) ++S().rowsPrinted;
    return Problem("Plugin_PrintRow");
}

CORVAN_DRV_EXPORT DrvBool Plugin_PrintVector(int32_t type, double x, double y) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "Plugin_PrintVector %d %.3f %.3f", type, x, y);
    Log(buf);
    return Problem("Plugin_PrintVector");
}

CORVAN_DRV_EXPORT int32_t Plugin_Status(void) {
    Log("Plugin_Status");
    const long after = CfgInt("status_after", 0);
    return after > 0 && S().rowsPrinted >= after ? 1 : 0;
}
#endif

}  // extern "C"
