#pragma once
// One print run of the TIFF driver: the pages of the passes, the spot rules
// the host handed over, and the rows scaled from source to device width.
#include "tiff/colour.h"
#include "tiff/rowworker.h"
#include "tiff/tiffpage.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace drv {

struct ColourMatch {
    int R = 0, G = 0, B = 0;
    int Tolerance = 0;
    bool Matches(const std::uint8_t* bgr) const;
};

struct JobSettings {
    double DpiX = 360, DpiY = 360;
    int Passes = 1;
    Compression Packing = kDefaultCompression;
};

class TiffJob {
public:
    bool Prepare(std::int32_t srcW, std::int32_t srcH, std::int32_t devW, std::int32_t devH);
    bool Open(const std::string& path, const JobSettings& settings, ColourEngine* engine);

    // Spot rules, in the order the host sends them.
    void InsertSpot(const ColourMatch& match, double L, double a, double b);
    void AssignInk(const ColourMatch& match, int spot);  // spot 0: knock out
    void SetPassInk(int spot) { passInk_ = spot; }
    void SetPassColour(const ColourMatch& match) { passColour_ = match; }

    bool StartPage(int pass);
    bool SourceRow(const std::uint8_t* p0, const std::uint8_t* p1, const std::uint8_t* p2);
    bool DeviceRow(std::int32_t row);
    bool EndPage();
    // False when the file is not to be delivered: a write failed, or a page
    // was started and never ended (the run was stopped or aborted).
    bool Close();
    bool Failed() const { return failed_; }
    bool Aborted() const { return aborted_; }
    bool Fits(std::int32_t srcW, std::int32_t devW) const { return srcW == srcW_ && devW == devW_; }

private:
    struct SpotTarget {
        ColourMatch Match;
        double L, a, b;
        std::vector<std::uint8_t> Device;
    };
    struct InkRule {
        ColourMatch Match;
        int Channel;  // -1 = printed in an extra pass, kept off the colour pages
    };
    void ApplyRules(const std::uint8_t* bgr, std::uint8_t* out) const;
    // On the worker: a source row to device colours, a device row written.
    void ConvertRow(const std::vector<std::uint8_t>& bgr);
    void WriteDeviceRow(std::int32_t row);
    void Drain();

    std::int32_t srcW_ = 0, srcH_ = 0, devW_ = 0, devH_ = 0;
    std::vector<std::int32_t> xmap_;
    JobSettings settings_;
    ColourEngine* engine_ = nullptr;
    TiffDocument doc_;
    std::vector<SpotTarget> targets_;
    std::vector<InkRule> inkRules_;
    std::vector<int> inkSpots_;  // spot number of each extra channel
    int passInk_ = 0;
    ColourMatch passColour_;
    bool maskPage_ = false;
    int samples_ = 0;
    // Owned by the worker while a page is open.
    std::vector<std::uint8_t> device_, source_, row_;
    bool sourceFresh_ = false;  // source_ changed since row_ was scaled
    bool opened_ = false, pageOpen_ = false, aborted_ = false;
    std::atomic<bool> failed_ = false;
    std::unique_ptr<RowWorker> worker_;  // last: its thread ends before the rest goes
};

// "Spot White" and the like, for channel and page names.
std::string SpotInkName(int spot);

}  // namespace drv
