#pragma once

#include <QWidget>

#include <array>
#include <memory>

#include "engine/workbench_state.h"

class GridView;
class KeySearchDialog;
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
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FormCreate();

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
    void typeIntoKeyword(QChar ch);
    void Memo1ContextMenu(const QPoint &pos);
    void KeySearchOpen();
    void KeySearchStart();
    void KeySearchTake(const QString &keyword, abc::CipherMethod method);

    void connectHandlers();
    void setPanel(int index, const QString &text);
    void showWarning(const QString &text);
    void toggleGroups(QPushButton *button, QPlainTextEdit *area, const std::string &text,
                      const QString &groupCaption, const QString &blockCaption);

    std::unique_ptr<Ui::TForm1> ui;
    abc::WorkbenchState m_state;
    GridView *m_grid = nullptr;
    QAction *m_keySearchAction = nullptr;
    KeySearchDialog *m_keySearch = nullptr; // made when first opened
    std::array<QLabel *, 13> m_panels{};
};
