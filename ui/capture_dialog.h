#pragma once
// "Services from capture": the operator picks a capture of an input and the
// input it was taken from; lst_CaptureServices lists the capture's services
// with a check box each, and Add puts the chosen ones into the store as the
// service editor would (output PIDs moved to free ones where taken). What
// does not fit is named in a warning.

#include <QDialog>
#include <string>
#include <vector>

#include "capture/capture.h"
#include "model/config_store.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace kv::ui {

// The file dialog dlg_Open for a capture, starting in `startFolder` when it
// exists; the chosen file, empty when none was chosen.
QString ChooseCaptureFile(QWidget* parent, const QString& startFolder);

// The columns of lst_CaptureServices.
enum CaptureColumn { ColServiceId, ColName, ColPids, ColTypes, ColLanguages, ColRate, CaptureColumns };

class Tfrm_Capture : public QDialog {
    Q_OBJECT
  public:
    // startFolder: where the file dialog starts when it exists.
    Tfrm_Capture(ConfigStore& store, std::string startFolder, QWidget* parent = nullptr);

    // The names of the services Add stored, for the program list.
    const std::vector<std::string>& Added() const { return added_; }

    // Reads the capture at `path` and lists its services (what choosing it
    // in the file dialog does).
    void LoadCapture(const QString& path);

  private slots:
    void bt_CaptureFileClick();
    void bt_CaptureAddClick();

  private:
    ConfigStore& store_;
    std::string startFolder_;
    Capture capture_;
    std::vector<std::string> added_;
    QLineEdit* txt_CaptureFile = nullptr;
    QPushButton* bt_CaptureFile = nullptr;
    QComboBox* cb_CaptureInput = nullptr;
    QTreeWidget* lst_CaptureServices = nullptr;
    QLabel* lbl_CaptureNotes = nullptr;
    QPushButton* bt_CaptureAdd = nullptr;
    QPushButton* bt_CaptureCancel = nullptr;
};

} // namespace kv::ui
