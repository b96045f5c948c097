#pragma once
// Custom paper sizes for the system printer. CUPS has no shared form table
// that a program could add to (a custom size is named per job as
// "Custom.WxHmm"), so the forms are kept in the settings store, section
// "CustomForms", as "width,height" in thousandths of a millimetre; the
// system-printer output offers them as custom page sizes.
#include <cstdint>
#include <string>
#include <vector>

namespace corvan {

struct CustomForm {
    std::string Name;
    std::int32_t Width = 0;   // 1/1000 mm
    std::int32_t Height = 0;  // 1/1000 mm
};

// Adds the form, replacing one of the same name. Sizes below 1 mm or an
// empty name are refused (false).
bool CreateCustomForm(const std::string& name, std::int32_t width, std::int32_t height);
std::vector<CustomForm> CustomForms();
// The three large forms made at the first start (setting "Make_Large_Page").
void CreateLargePageForms();

}  // namespace corvan
