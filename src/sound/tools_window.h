// The tools window: switches the missing-sound log on and off and sets its path.
#pragma once

#include <QWidget>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace tavi {

class ToolsWindow : public QWidget {
    Q_OBJECT
public:
    explicit ToolsWindow(QWidget* parent = nullptr);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void chk_do_log_Click(bool checked);
    void bt_ok_Click();

    QCheckBox* chk_do_log = nullptr;
    QLineEdit* txt_logfile = nullptr;
    QPushButton* bt_ok = nullptr;
};

} // namespace tavi
