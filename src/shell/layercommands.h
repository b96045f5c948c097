#pragma once
// The job's vector layers: adding, deleting, reordering, parking layers in
// the window's stored list and back, and the information line of a layer.
// Every change marks the job changed, rebuilds its preview and refreshes the
// window through the core's observers.
#include "platform/bitmap.h"

#include <string>
#include <vector>

namespace corvan {

class AppCore;

// The layer file goes on top of the job's layers, to the top of the layer
// history, and its fonts are made available; the job counts as changed and
// its preview is rebuilt. Nothing without a job.
void AppendLayer(AppCore& app, const std::string& path);

// As AppendLayer for a file that exists; false (nothing done) without a job
// or without the file.
bool AddLayer(AppCore& app, const std::string& path);
// "Load Vector Layer": the layer library's choice joins the job. Nothing
// without a job (the library is not even shown) or when the choice is cancelled.
bool LoadLayerCommand(AppCore& app);

// A traced outline layer joins the job and becomes what is cut: contour
// cutting on, its colour the cut colour, lines in that colour cut.
void AppendTracedLayer(AppCore& app, const std::string& path, Colour contourColour);

// Removes layer `index`; false when there is no job or no such layer.
bool DeleteLayer(AppCore& app, int index);
// Exchanges layer `index` with its neighbour towards the back (step -1) or
// the front (step +1). Returns where the layer is now, or -1 when nothing
// could move.
int MoveLayer(AppCore& app, int index, int step);

// Takes layer `index` out of the job and appends its path to `stored`.
bool ParkLayer(AppCore& app, int index, std::vector<std::string>& stored);
// Puts entry `storedIndex` of `stored` back into the job, on top. Its fonts
// were installed when it first joined, so they are not installed again.
// Nothing without a job.
bool UnparkLayer(AppCore& app, int storedIndex, std::vector<std::string>& stored);

// "Layer #<index + 1>  (Objects: <records>)  Size: <bytes div 1024> Kb." from
// the metafile header of `path`; a file whose header cannot be read counts
// as empty.
std::string LayerInfoLine(int index, const std::string& path);

}  // namespace corvan
