#pragma once
// "Multiplex map": what the output of the stored configuration carries. A
// picture of the eight inputs and the output PIDs their services and ghost
// entries go to, a table with one row per output PID, the counts and the
// findings of the multiplex check, and "Save picture..." to keep the picture
// as a PNG file. Each opening shows the store as it is then. "Captures..."
// attaches captures of the inputs, and the check then looks at them too.

#include <QColor>
#include <QDialog>
#include <QImage>
#include <array>
#include <string>
#include <vector>

#include "capture/capture.h"

#include "model/config_store.h"
#include "ops/multiplex_check.h"

class QLabel;
class QListWidget;
class QPushButton;
class QTreeWidget;

namespace kv::ui {

// Rows of output PIDs with an error, and errors in the list of findings.
inline const QColor ErrorRowColour{0xc0, 0x00, 0x00};

// The columns of lst_OutPids.
enum OutPidColumn { ColPid, ColHex, ColCarries, ColSource, ColFindings, OutPidColumns };

class Tfrm_MuxMap : public QDialog {
    Q_OBJECT
  public:
    // configFolder: where "Save picture" starts when it exists.
    Tfrm_MuxMap(const ConfigStore& store, std::string configFolder, QWidget* parent = nullptr);

    const QImage& Picture() const { return picture_; }

  private slots:
    void bt_SavePictureClick();
    void bt_CapturesClick();

  private:
    void FillOutPids();
    void FillCounts();
    void Refill(); // the check again, with the captures attached

    const ConfigStore& store_;
    std::array<QString, InputCount> capturePaths_;
    std::vector<Capture> captures_;
    MultiplexReport report_;
    QImage picture_;
    std::string configFolder_;
    QLabel* pic_MuxMap = nullptr;
    QTreeWidget* lst_OutPids = nullptr;
    QLabel* lbl_Services = nullptr;
    QLabel* lbl_Pcrs = nullptr;
    QLabel* lbl_Findings = nullptr;
    QListWidget* lst_Findings = nullptr;
    QPushButton* bt_SavePicture = nullptr;
    QPushButton* bt_Captures = nullptr;
    QPushButton* bt_Close = nullptr;
};

} // namespace kv::ui
