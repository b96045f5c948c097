// Context help from "helpfile.ini": the topic fields, the text block rules,
// and every topic the program's buttons name exists in the shipped file.
#include "shell/helptopics.h"

#include "platform/folders.h"
#include "support/tempdirs.h"

#include <gtest/gtest.h>

namespace corvan {
namespace {

using Lines = std::vector<std::string>;

TEST(HelpTopics, FieldsAndTheTextBlock) {
    test::ScratchHome home;
    test::WriteFileBytes(
        HelpFile(),
        "[Crop Marks]\r\nTitle=Marks\r\nKey=Ctrl+K\r\nPDF=CorvanRIP.pdf 33\r\n{\r\n"
        "first line\r\nsecond line\r\n}\r\nafter\r\n"
        "[crop marks]\r\nTitle=Other\r\n{\r\nnot this one\r\n}\r\n"
        "[No Block]\r\nTitle=Empty\r\n[Open Block]\r\nTitle=Open\r\n{\r\nto the end\r\n");
    const auto t = LoadHelpTopic("Crop Marks");
    ASSERT_TRUE(t);
    EXPECT_EQ(t->title, "Marks");
    EXPECT_EQ(t->key, "Ctrl+K");
    EXPECT_EQ(ManualPageOf(t->pdf), 33);
    EXPECT_EQ(t->text, (Lines{"first line", "second line"}));
    EXPECT_EQ(ReadTopicText("[CROP MARKS]"), (Lines{"first line", "second line"}))
        << "letter case is ignored and the first marker wins";
    // No "{" before the next section: no text (not the next topic's); a
    // block that never ends runs to the end of the file.
    EXPECT_TRUE(ReadTopicText("[No Block]").empty());
    EXPECT_EQ(ReadTopicText("[Open Block]"), Lines{"to the end"});
    EXPECT_FALSE(LoadHelpTopic("Missing"));
    EXPECT_FALSE(ManualPageOf(""));
    EXPECT_FALSE(ManualPageOf("CorvanRIP.pdf"));
}

TEST(HelpTopics, EveryTopicTheProgramNamesIsShipped) {
    test::ScratchHome home;  // seeded from the shipped data
    for (const char* topic : {"EMF List",
                              "EMF Layers",
                              "Job Size",
                              "Background Image",
                              "Background Color",
                              "Media Size",
                              "Crop Location",
                              "Output Quality",
                              "Image Interpolation",
                              "Crop Marks",
                              "Contour Cutting",
                              "Spot Color RGB",
                              "Spot Color Details",
                              "Spot Color Editing",
                              "Gamut Mapping",
                              "Printer Options",
                              "Rip Options",
                              "Keyboard Shortcuts",
                              "Single Tiles",
                              "Bleed",
                              "Tile Number",
                              "Crop Media Size",
                              "Tile Properties",
                              "Select Vector",
                              "Select Raster Color",
                              "Autotrace",
                              "Flatten Image"}) {
        const auto t = LoadHelpTopic(topic);
        ASSERT_TRUE(t) << topic;
        EXPECT_FALSE(t->text.empty()) << topic;
    }
}

}  // namespace
}  // namespace corvan
