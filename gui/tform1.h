#pragma once

#include <QWidget>

#include <array>
#include <memory>

#include "engine/workbench_state.h"

class ContentScroller;
class GridView;
class KeySearchDialog;
class KeywordBox;
class QAction;
class QKeyEvent;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace Ui {
class TForm1;
}

// The main window: every handler sets the control states of its step, runs
// the step on the work state and writes the results into the controls.
class TForm1 : public QWidget
{
    Q_OBJECT

public:
    explicit TForm1(QWidget *parent = nullptr);
    ~TForm1() override;

    const abc::WorkbenchState &state() const { return m_state; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // The status bar's panels as laid out: each caption, then what it names.
    // Panels 8, 9, 11 and 12 stay empty.
    enum class StatusPanel {
        StatusCaption,
        Status,
        LetterCountCaption,
        LetterCount,
        KeywordCaption,
        Keyword,
        MethodCaption,
        Method,
        Step = 10,
    };
    static constexpr int StatusPanelCount = 13;

    void FormCreate();
    void setButtonGlyphs();
    void setUpStatusBar();

    void BitBtn2Click();
    void BitBtn3Click();
    void BitBtn4Click();
    void BitBtn5Click();
    void BitBtn6Click();
    void BitBtn7Click();
    void BitBtn8Click();
    void BitBtn9Click();
    void Button1Click();
    void Button2Click();
    void RadioGroup1Click();
    void ComboBox1Change(const QString &text);
    void Edit7Change(const QString &text);
    bool ComboBox1KeyPress(QEvent *event);
    void Memo1ContextMenu(const QPoint &pos);
    void KeySearchOpen();
    void KeySearchStart();
    void KeySearchTake(const QString &keyword, abc::CipherMethod method);

    void connectHandlers();
    void connectKeySearch();
    void setPanel(StatusPanel panel, const QString &text);
    void showWarning(const QString &text);
    void toggleGroups(QPushButton *button, QPlainTextEdit *area, const std::string &text, const QString &groupCaption,
                      const QString &blockCaption);

    std::unique_ptr<Ui::TForm1> ui;
    abc::WorkbenchState m_state;
    std::unique_ptr<KeywordBox> m_keywordBox;
    GridView *m_grid = nullptr;
    ContentScroller *m_scroller = nullptr;
    QAction *m_keySearchAction = nullptr;
    KeySearchDialog *m_keySearch = nullptr; // made when first opened
    std::array<QLabel *, StatusPanelCount> m_panels{};
};
