#pragma once
// The "Output Options" tab: the output device ("Select Printer:" with its
// driver commands), the print queue a driver spools through, and what a RIP
// run produces and where it goes ("Print Raster", "Cut Contours", "Rip to
// File"), with "RIP Now" and "RIP From File".
#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace corvan {

class AppCore;
struct DriverList;
class TemfPlotter;

class OutputTab : public QWidget {
    Q_OBJECT
public:
    OutputTab(AppCore& app, QWidget* parent = nullptr);

    // The driver lines: device name with its icon; the line itself as data.
    void FillDrivers(const DriverList& list, int index);
    void FillQueues(const std::vector<std::string>& names);
    // The device information after every device refresh.
    void ShowDevice(const TemfPlotter& device);
    // Copies the controls into the core's output options before a RIP run.
    void StoreOutputOptions();
    // The pictures beside the switches follow their state and enabling.
    void ShowOptionPictures();

Q_SIGNALS:
    void driverChosen(int index);
    void updateDriversRequested();
    void printerOptionsRequested();
    void queueChosen(int index);
    void propertiesRequested();
    void ripNowRequested();
    void ripFromFileRequested();
    void downloadDriverRequested();

private:
    QWidget* BuildPrinter();
    QWidget* BuildQueue();
    QWidget* BuildRipOptions();
    void BrowseOutputFile();

    AppCore& app_;
    QComboBox *comboPrinters_, *combospooler_;
    QLabel *label_pinfo_, *label_pinfo1_;
    QCheckBox *cDoRaster_, *cDoVector_, *cRiptoFile_;
    QLineEdit* FilenameEdit1_;
    QLabel *imageRaster_, *Imagevector_, *imagedisk_;
};

}  // namespace corvan
