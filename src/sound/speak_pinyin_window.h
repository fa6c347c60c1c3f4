// The speak-pinyin window: type any pinyin with tone digits and hear it.
#pragma once

#include <QWidget>

class QLineEdit;
class QPushButton;

namespace tavi {

class SpeakPinyinWindow : public QWidget {
    Q_OBJECT
public:
    explicit SpeakPinyinWindow(QWidget* parent = nullptr);

    static const QString SampleText;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void bt_speak_Click();

    QLineEdit* txt_pinyin = nullptr;
    QPushButton* bt_speak = nullptr;
    QPushButton* bt_ok = nullptr;
};

} // namespace tavi
