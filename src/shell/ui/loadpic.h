#pragma once
// The image library window: pictures (or vector layers) chosen with folder
// and file histories, details, a preview, thumbnails of a folder made off
// the GUI thread, and a library folder pictures can be copied into.
#include "shell/imagelibrary.h"

#include <QDialog>
#include <QImage>
#include <QThreadPool>

#include <atomic>
#include <optional>
#include <string>

class QCheckBox;
class QComboBox;
class QFileSystemModel;
class QLabel;
class QLineEdit;
class QListView;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;
class QTimer;
class QTreeView;

namespace corvan {

class UserInterface;

class TFloadpic : public QDialog {
    Q_OBJECT
public:
    TFloadpic(UserInterface& ui, LibraryMode mode, const std::string& startFolder,
              QWidget* parent = nullptr);
    ~TFloadpic() override;

    // The chosen file after "Load".
    std::optional<std::string> Result() const { return result_; }

    void GoTo(const std::string& folder);
    void ChooseName(const QString& name);
    void SetThumbnails(bool on);
    int ThumbnailCount() const;
    bool ChoiceValid() const { return valid_; }
    std::string CurrentFolder() const { return folder_; }
    const LibraryHistory& History() const { return history_; }
    void Load();

Q_SIGNALS:
    void ThumbnailsDone();

private:
    QWidget* BuildTop();
    QWidget* BuildSide();
    QWidget* BuildBottom();
    void FillHistories();
    void ShowDetails(const QString& path);
    void RunPreview();
    void MakeThumbnails();
    void LibraryMenu(QPushButton* button);
    std::optional<std::string> AskLibraryFolder();
    void CopyFile();
    void ShowFullPreview(bool on);

    UserInterface& ui_;
    LibraryMode mode_;
    LibraryHistory history_;
    std::string folder_;
    std::string chosen_;
    bool valid_ = false;
    bool navigating_ = false;
    std::optional<std::string> result_;
    QFileSystemModel* dirs_;
    QFileSystemModel* files_;
    QTreeView* tree_;
    QListView* list_;
    QListWidget* thumbs_;
    QLineEdit *path_, *name_;
    QComboBox *dirHistory_, *fileHistory_, *mask_, *lookIn_;
    QCheckBox *preview_, *bigFiles_, *thumbnails_, *copy_, *lastDir_, *fullPreview_;
    QScrollArea* full_;
    QImage previewed_;
    QLabel* picture_;
    QPlainTextEdit* details_;
    QPushButton *load_, *copyFile_;
    QLabel* status_[4];
    QTimer* previewTimer_;
    QThreadPool pool_;
    std::atomic<int> thumbRun_{0};
};

// The window in `mode`, starting in `startFolder` unless it remembers the
// last folder; the chosen file, or none.
std::optional<std::string> ChooseFromLibrary(UserInterface& ui, LibraryMode mode,
                                             const std::string& startFolder, QWidget* parent);

}  // namespace corvan
