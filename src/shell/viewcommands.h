#pragma once
// Commands of the View menu that belong to the engine.
namespace corvan {

class AppCore;

// "Set Max Preview": asks for the preview's longest side (at most 5000).
// An empty answer or a cancelled question changes nothing; a text that is
// not a whole number is reported and changes nothing. True when changed.
bool SetMaxPreviewCommand(AppCore& app);

}  // namespace corvan
