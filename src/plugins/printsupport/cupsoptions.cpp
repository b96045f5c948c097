#include "plugins/printsupport/cupsoptions.h"

#include <cups/cups.h>

#include <strings.h>
#include <algorithm>
#include <cstdio>
#include <memory>

namespace corvan {

namespace {

// The options an operator changes on a wide-format or office queue; the
// rest stay with the driver's own dialogs.
struct OptionName {
    const char* name;
    const char* caption;  // when the scheduler has no translation
};
constexpr OptionName kOptions[] = {{"media", "Paper size"},
                                   {"media-source", "Paper source"},
                                   {"media-type", "Media type"},
                                   {"sides", "Two-sided"},
                                   {"print-color-mode", "Colour mode"},
                                   {"print-quality", "Quality"},
                                   {"printer-resolution", "Resolution"},
                                   {"output-bin", "Output tray"},
                                   {"orientation-requested", "Orientation"}};

struct Dests {
    cups_dest_t* list = nullptr;
    int count = 0;
    Dests() { count = cupsGetDests2(CUPS_HTTP_DEFAULT, &list); }
    ~Dests() { cupsFreeDests(count, list); }
    Dests(const Dests&) = delete;
    Dests& operator=(const Dests&) = delete;
    cups_dest_t* Find(const std::string& name) const {
        for (int i = 0; i < count; ++i)
            if (!list[i].instance && strcasecmp(list[i].name, name.c_str()) == 0) return &list[i];
        return nullptr;
    }
};

// One value of a supported-values attribute as the text lpoptions takes.
std::string ValueText(ipp_attribute_t* attr, int i) {
    switch (ippGetValueTag(attr)) {
        case IPP_TAG_ENUM:
        case IPP_TAG_INTEGER:
            return std::to_string(ippGetInteger(attr, i));
        case IPP_TAG_RESOLUTION: {
            int y = 0;
            ipp_res_t units = IPP_RES_PER_INCH;
            const int x = ippGetResolution(attr, i, &y, &units);
            const char* unit = units == IPP_RES_PER_INCH ? "dpi" : "dpcm";
            return x == y ? std::to_string(x) + unit
                          : std::to_string(x) + "x" + std::to_string(y) + unit;
        }
        case IPP_TAG_KEYWORD:
        case IPP_TAG_NAME:
        case IPP_TAG_TEXT:
        case IPP_TAG_MIMETYPE:
        case IPP_TAG_URI: {
            const char* s = ippGetString(attr, i, nullptr);
            return s ? s : "";
        }
        default:
            return {};  // collections and the like are not offered
    }
}

std::string Localized(const char* text, const std::string& fallback) {
    return text && *text ? std::string(text) : fallback;
}

// "two-sided-long-edge" reads as "Two sided long edge".
std::string Readable(std::string keyword) {
    std::replace(keyword.begin(), keyword.end(), '-', ' ');
    std::replace(keyword.begin(), keyword.end(), '_', ' ');
    if (!keyword.empty() && keyword[0] >= 'a' && keyword[0] <= 'z')
        keyword[0] = char(keyword[0] - 32);
    return keyword;
}

std::string Millimetres(int hundredths) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", hundredths / 100.0);
    return text;
}

// The caption of a value where the scheduler has no translation: paper by
// its common name and size, enums by their keyword, keywords made readable.
std::string Caption(const char* option, ipp_attribute_t* attr, int i, const std::string& value) {
    if (std::string(option) == "media") {
        if (const pwg_media_t* m = pwgMediaForPWG(value.c_str())) {
            const std::string size = Millimetres(m->width) + " x " + Millimetres(m->length) + " mm";
            return m->ppd ? std::string(m->ppd) + " (" + size + ")" : size;
        }
    }
    if (ippGetValueTag(attr) == IPP_TAG_ENUM)
        return Readable(ippEnumString(option, ippGetInteger(attr, i)));
    return Readable(value);
}

}  // namespace

std::string FindQueue(const std::string& name) {
    Dests dests;
    const cups_dest_t* dest = dests.Find(name);
    return dest ? dest->name : std::string();
}

std::optional<std::vector<QueueOption>> ReadQueueOptions(const std::string& queue) {
    Dests dests;
    cups_dest_t* dest = dests.Find(queue);
    if (!dest) return std::nullopt;
    std::unique_ptr<cups_dinfo_t, void (*)(cups_dinfo_t*)> info(
        cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest), cupsFreeDestInfo);
    if (!info) return std::nullopt;
    std::vector<QueueOption> out;
    for (const auto& [name, caption] : kOptions) {
        ipp_attribute_t* supported =
            cupsFindDestSupported(CUPS_HTTP_DEFAULT, dest, info.get(), name);
        if (!supported) continue;
        QueueOption opt;
        opt.name = name;
        const std::string label =
            Localized(cupsLocalizeDestOption(CUPS_HTTP_DEFAULT, dest, info.get(), name), name);
        opt.label = label != name ? label : caption;
        for (int i = 0; i < ippGetCount(supported); ++i) {
            const std::string value = ValueText(supported, i);
            // The custom size limits are a range, not a paper to choose.
            if (value.empty() || value.rfind("custom_min", 0) == 0 ||
                value.rfind("custom_max", 0) == 0)
                continue;
            const std::string localized = Localized(
                cupsLocalizeDestValue(CUPS_HTTP_DEFAULT, dest, info.get(), name, value.c_str()),
                value);
            opt.choices.emplace_back(
                value, localized != value ? localized : Caption(name, supported, i, value));
        }
        // A single choice is no choice.
        if (opt.choices.size() < 2) continue;
        if (const char* user = cupsGetOption(name, dest->num_options, dest->options)) {
            opt.current = user;
        } else if (ipp_attribute_t* def =
                       cupsFindDestDefault(CUPS_HTTP_DEFAULT, dest, info.get(), name)) {
            opt.current = ValueText(def, 0);
        }
        out.push_back(std::move(opt));
    }
    return out;
}

bool WriteQueueOptions(const std::string& queue,
                       const std::vector<std::pair<std::string, std::string>>& values) {
    Dests dests;
    cups_dest_t* dest = dests.Find(queue);
    if (!dest) return false;
    for (const auto& [name, value] : values)
        dest->num_options =
            cupsAddOption(name.c_str(), value.c_str(), dest->num_options, &dest->options);
    return cupsSetDests2(CUPS_HTTP_DEFAULT, dests.count, dests.list) == 0;
}

}  // namespace corvan
