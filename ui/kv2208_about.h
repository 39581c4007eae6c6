#pragma once
// The About dialog: the product banner, name and version, and "Ok".

#include <QDialog>

class QGroupBox;
class QLabel;
class QToolButton;

namespace kv::ui {

class Tfrm_About : public QDialog {
    Q_OBJECT
  public:
    explicit Tfrm_About(QWidget* parent = nullptr);

  private slots:
    void bt_OkClick();

  private:
    QGroupBox* grp_About = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QToolButton* bt_Ok = nullptr;
};

} // namespace kv::ui
