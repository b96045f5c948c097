#include "shell/viewcommands.h"

#include "platform/numbers.h"
#include "shell/appcore.h"

#include <algorithm>

namespace corvan {

bool SetMaxPreviewCommand(AppCore& app) {
    const auto answer =
        app.Ui().Input("max prevwidth", "enter max (1000)", std::to_string(app.MaxPreview));
    if (!answer || answer->empty()) return false;
    const auto value = ParseInteger(*answer);
    if (!value) {
        app.Ui().ShowError("'" + *answer + "' is not a valid integer value");
        return false;
    }
    app.MaxPreview = std::min(*value, 5000);
    if (app.CurrentJob) app.CurrentJob->PreviewDirty = true;
    app.Events().Repaint();
    return true;
}

}  // namespace corvan
