// The about window: the program's title, the maker's two links, the credit of the
// dictionary with its link, the installation check button and OK.
#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace tavi {

class AboutWindow : public QWidget {
    Q_OBJECT
public:
    explicit AboutWindow(QWidget* parent = nullptr);

    static const QColor LinkColor;
    static const QColor HoverColor;
    static const QString DictionaryPage; // where txt_cedict leads

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static void setLinkColor(QLabel* label, const QColor& color);

    QLabel* txt_tavi = nullptr;
    QLabel* Label4 = nullptr; // mail link
    QLabel* txt_www = nullptr;
    QLabel* txt_cedict = nullptr; // the dictionary's credit and licence
    QPushButton* bt_install = nullptr;
    QPushButton* bt_ok = nullptr;
    QLabel* Picture1 = nullptr;
    QLabel* Picture2 = nullptr;
};

} // namespace tavi
