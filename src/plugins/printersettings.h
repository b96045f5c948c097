#pragma once
// Printer settings records: the selected driver's path and its settings
// blob as hexadecimal text, kept in ".pin" files and in the "Printer
// Settings" section of project files.
#include "job/emffile.h"
#include "job/jobsession.h"
#include "plugins/driverlist.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace corvan {

class IniFile;

inline constexpr const char* kPrinterSettingsSection = "Printer Settings";
inline constexpr std::int32_t kMaxDriverBlob = 2097152;

// Two upper-case hex digits per byte.
std::string HexEncode(const std::uint8_t* data, std::size_t size);
// Pairs of hex digits (either case); an odd last character is ignored.
// Empty when a pair is not hexadecimal or the blob would exceed the limit.
std::optional<std::vector<std::uint8_t>> HexDecode(const std::string& text);

// The current driver's settings blob as text; empty without a valid driver,
// for an empty blob, or when the driver reports more than 2,097,152 bytes.
std::string DriverDataHex();

// Writes "Plugin" and "Data" of the current driver into the section; false
// (nothing written) without a valid driver or settings text.
bool WriteDriverSettings(IniFile& ini);

// Replaces the file with the current driver's settings (atomically). Without
// a valid driver nothing happens; with an empty settings text the old file
// is deleted and none written. False when writing failed.
bool SaveDriverSettings(const std::string& file);
// Reads "Plugin" (default: the current driver's path) and "Data" and
// restores them.
void LoadDriverSettings(const std::string& file, DriverList& list, TemfPlotter& plotter);
// Selects the last driver line whose path equals `path` (nothing happens
// when none does), reloads that driver, hands it the decoded data and
// refreshes the device record. Invalid data is logged and not sent; the
// device record is then not refreshed.
void RestoreDriverSettings(const std::string& path, const std::string& data, DriverList& list,
                           TemfPlotter& plotter);

// The project file's view of the selected driver.
class PluginProjectDriver : public ProjectDriverPort {
public:
    PluginProjectDriver(DriverList& list, TemfPlotter& plotter) : list_(list), plotter_(plotter) {}
    bool IsValidDriver() const override;
    std::string DriverPath() const override;
    std::string SettingsText() override;
    std::string Datatype(int type) override;
    void JobLoaded() override;
    void RestoreSettings(const std::string& plugin, const std::string& data) override;

private:
    DriverList& list_;
    TemfPlotter& plotter_;
};

}  // namespace corvan
