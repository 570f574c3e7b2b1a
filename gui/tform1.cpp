#include "gui/tform1.h"
#include "ui_tform1.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QAction>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QListView>
#include <QMenu>
#include <QMessageBox>

#include "base/messages.h"
#include "base/windows1252_text.h"
#include "engine/builtin_keywords.h"
#include "engine/column_key.h"
#include "engine/decoding_steps.h"
#include "engine/grid_fill.h"
#include "engine/grouping.h"
#include "engine/text_cleaning.h"
#include "gui/accessible_names.h"
#include "gui/button_glyphs.h"
#include "gui/grid/grid_view.h"
#include "gui/key_search/key_search_dialog.h"
#include "gui/keyword_box.h"
#include "gui/screen/content_scroller.h"
#include "gui/text_area.h"
#include "gui/workbench_style.h"

namespace {

// The group toggles keep their mode in their captions.
const QString InputGroupCaption = QStringLiteral("Fünfer-Gruppen schalten");
const QString InputBlockCaption = QStringLiteral("Blocktext schalten");
const QString TranspositionGroupCaption = QStringLiteral("Fünfer-Gruppen Transposition");
const QString TranspositionBlockCaption = QStringLiteral("Blocktext Transposition");
const QString SubstitutionGroupCaption = QStringLiteral("Fünfer-Gruppen Substitution");
const QString SubstitutionBlockCaption = QStringLiteral("Blocktext schalten");

QStringList BuiltInKeywordList()
{
    QStringList keywords;
    for (const std::string &keyword : abc::BuiltInKeywords())
        keywords << FromWindows1252(keyword);
    return keywords;
}

// The write order's column numbers and letters, each followed by a blank,
// after what the fields show.
void AppendWriteOrder(QLineEdit *numberField, QLineEdit *letterField, const abc::WriteOrder &order)
{
    QString numbers = numberField->text();
    QString letters = letterField->text();
    for (const abc::ColumnEntry &entry : order) {
        numbers += QString::number(entry.column) + QLatin1Char(' ');
        letters += FromWindows1252(std::string_view(&entry.letter, 1)) + QLatin1Char(' ');
    }
    numberField->setText(numbers);
    letterField->setText(letters);
}

// A plain top-level widget is a "filler" to assistive technologies, which
// list and announce windows by the role "frame".
QAccessibleInterface *WindowFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("TForm1") && object && object->isWidgetType()
        && static_cast<QWidget *>(object)->isWindow())
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Window);
    return nullptr;
}

} // namespace

TForm1::TForm1(QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::TForm1>())
{
    // Before anything asks for the window's accessible interface, which is
    // then kept.
    static const bool windowRole = (QAccessible::installFactory(WindowFactory), true);
    Q_UNUSED(windowRole);
    ui->setupUi(this);
    // All items have one height; without this the list lays out every item
    // whenever the font changes, as it does next, to find out.
    if (auto *list = qobject_cast<QListView *>(ui->ComboBox1->view()))
        list->setUniformItemSizes(true);
    DressControls(this);
    ui->ComboBox1->addItems(BuiltInKeywordList());
    setButtonGlyphs();
    setUpStatusBar();
    m_keywordBox =
        std::make_unique<KeywordBox>(ui->ComboBox1, [this](QEvent *event) { return ComboBox1KeyPress(event); });

    FormCreate();
    // On a screen smaller than the layout the content scrolls under the
    // status line.
    m_scroller = new ContentScroller(this, ui->StatusBar1);
    DescribeByObjectName(this);
    connectHandlers();
}

TForm1::~TForm1()
{
    // Focus moves while the children are destroyed; no handler may run on a
    // half-destroyed window.
    ui->ComboBox1->disconnect(this);
    ui->Edit7->disconnect(this);
}

void TForm1::setButtonGlyphs()
{
    ui->BitBtn1->setIcon(ButtonGlyphIcon(ButtonGlyph::Close));
    for (QPushButton *button : {ui->BitBtn2, ui->BitBtn6, ui->BitBtn8, ui->BitBtn9})
        button->setIcon(ButtonGlyphIcon(ButtonGlyph::Ok));
    ui->BitBtn3->setIcon(ButtonGlyphIcon(ButtonGlyph::Abort));
    ui->BitBtn4->setIcon(ButtonGlyphIcon(ButtonGlyph::Yes));
    ui->BitBtn5->setIcon(ButtonGlyphIcon(ButtonGlyph::All));
    ui->BitBtn7->setIcon(ButtonGlyphIcon(ButtonGlyph::Retry));
}

void TForm1::setUpStatusBar()
{
    m_panels = {ui->StatusPanel0,  ui->StatusPanel1,  ui->StatusPanel2, ui->StatusPanel3, ui->StatusPanel4,
                ui->StatusPanel5,  ui->StatusPanel6,  ui->StatusPanel7, ui->StatusPanel8, ui->StatusPanel9,
                ui->StatusPanel10, ui->StatusPanel11, ui->StatusPanel12};
    for (QLabel *panel : m_panels)
        ui->StatusBar1->addWidget(panel);
}

void TForm1::FormCreate()
{
    m_grid = new GridView(m_state, ui->GroupBox3);
    m_grid->setObjectName(QStringLiteral("TranspositionGrid"));
    m_grid->setGeometry(0, 0, ui->GroupBox3->width(), ui->GroupBox3->height());
    abc::BuildGrid(m_state);
    m_grid->refresh();
}

void TForm1::connectHandlers()
{
    connect(ui->BitBtn1, &QPushButton::clicked, this, &TForm1::close);
    connect(ui->BitBtn2, &QPushButton::clicked, this, &TForm1::BitBtn2Click);
    connect(ui->BitBtn3, &QPushButton::clicked, this, &TForm1::BitBtn3Click);
    connect(ui->BitBtn4, &QPushButton::clicked, this, &TForm1::BitBtn4Click);
    connect(ui->BitBtn5, &QPushButton::clicked, this, &TForm1::BitBtn5Click);
    connect(ui->BitBtn6, &QPushButton::clicked, this, &TForm1::BitBtn6Click);
    connect(ui->BitBtn7, &QPushButton::clicked, this, &TForm1::BitBtn7Click);
    connect(ui->BitBtn8, &QPushButton::clicked, this, &TForm1::BitBtn8Click);
    connect(ui->BitBtn9, &QPushButton::clicked, this, &TForm1::BitBtn9Click);
    connect(ui->Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    connect(ui->Button2, &QPushButton::clicked, this, &TForm1::Button2Click);

    // The selection changes only through the user (also by taking a found
    // key), so a toggle to "checked" is exactly a user's change of the method.
    auto *methods = new QButtonGroup(ui->RadioGroup1);
    methods->addButton(ui->RadioGroup1Item0, 0);
    methods->addButton(ui->RadioGroup1Item1, 1);
    connect(methods, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked)
            RadioGroup1Click();
    });

    connect(ui->ComboBox1, &QComboBox::editTextChanged, this, &TForm1::ComboBox1Change);
    connect(ui->Edit7, &QLineEdit::textChanged, this, &TForm1::Edit7Change);
    connectKeySearch();
}

void TForm1::connectKeySearch()
{
    m_keySearchAction = new QAction(QStringLiteral("Schlüssel suchen …"), this);
    m_keySearchAction->setObjectName(QStringLiteral("KeySearchAction"));
    m_keySearchAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    m_keySearchAction->setShortcutContext(Qt::WindowShortcut);
    addAction(m_keySearchAction);
    connect(m_keySearchAction, &QAction::triggered, this, &TForm1::KeySearchOpen);
    ui->Memo1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ui->Memo1, &QWidget::customContextMenuRequested, this, &TForm1::Memo1ContextMenu);
}

void TForm1::keyPressEvent(QKeyEvent *event)
{
    // Return and Enter press the focused button, as Space does; Qt's buttons
    // take them only inside dialogs.
    auto *button = qobject_cast<QPushButton *>(focusWidget());
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && button && button->isEnabled() && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        if (!event->isAutoRepeat())
            button->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

// Typed keys in the keyword box, before the box sees them.
bool TForm1::ComboBox1KeyPress(QEvent *event)
{
    return m_keywordBox->type(event);
}

void TForm1::closeEvent(QCloseEvent *event)
{
    // A running search stops with its window.
    if (m_keySearch)
        m_keySearch->close();
    QWidget::closeEvent(event);
}

void TForm1::Memo1ContextMenu(const QPoint &pos)
{
    const std::unique_ptr<QMenu> menu(ui->Memo1->createStandardContextMenu());
    menu->setObjectName(QStringLiteral("Memo1ContextMenu"));
    menu->addSeparator();
    menu->addAction(m_keySearchAction);
    menu->exec(ui->Memo1->viewport()->mapToGlobal(pos));
}

void TForm1::KeySearchOpen()
{
    if (!m_keySearch) {
        m_keySearch = new KeySearchDialog(this);
        connect(m_keySearch, &KeySearchDialog::searchRequested, this, &TForm1::KeySearchStart);
        connect(m_keySearch, &KeySearchDialog::keyChosen, this, &TForm1::KeySearchTake);
    }
    m_keySearch->show();
    m_keySearch->raise();
    m_keySearch->activateWindow();
}

void TForm1::KeySearchStart()
{
    // The search gets a cleaned copy of the input; the work state stays as it is.
    m_keySearch->startSearch(abc::CleanInputText(ToWindows1252Lines(ui->Memo1->toPlainText())));
}

void TForm1::KeySearchTake(const QString &keyword, abc::CipherMethod method)
{
    // As the user would: the key goes in through the keyword box, whose
    // handler mirrors it, and the method through a click.
    const bool keywordOpen = ui->ComboBox1->isEnabled();
    if (keywordOpen) {
        ui->ComboBox1->setEditText(keyword);
        (method == abc::CipherMethod::ABC ? ui->RadioGroup1Item0 : ui->RadioGroup1Item1)->click();
    }
    m_keySearch->reportKeyTaken(keywordOpen);
}

void TForm1::setPanel(StatusPanel panel, const QString &text)
{
    m_panels[static_cast<std::size_t>(panel)]->setText(text);
}

void TForm1::showWarning(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Achtung"), text, QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("WarningBox"));
    box.exec();
}

// Step 1: set the transposition key.
void TForm1::BitBtn6Click()
{
    const std::string key = ToWindows1252(ui->ComboBox1->currentText());
    if (key.empty()) {
        showWarning(EmptyKeywordMessage());
        return;
    }
    ui->BitBtn7->setEnabled(true);
    ui->BitBtn2->setEnabled(true);
    ui->ComboBox1->setEnabled(false);
    ui->BitBtn6->setEnabled(false);

    ui->Edit5->setText(QString::number(key.size()));
    abc::ApplyColumnKey(m_state, key);
    m_grid->refresh();
    m_scroller->show(ui->GroupBox3);
}

// Step 2: clean the input and fill the matrix with it.
void TForm1::BitBtn2Click()
{
    ui->BitBtn4->setEnabled(true);
    ui->BitBtn5->setEnabled(true);
    ui->BitBtn2->setEnabled(false);
    ui->BitBtn3->setEnabled(false);
    setPanel(StatusPanel::Status, QStringLiteral("Eingabetext bereinigt"));

    const std::string bytes = ToWindows1252Lines(ui->Memo1->toPlainText());
    if (bytes.empty())
        showWarning(QStringLiteral("Die Eingabeseite darf nicht leer sein!"));

    const abc::CleaningResult result = abc::CleanInput(m_state, bytes);
    if (!result.inputWasEmpty) {
        ShowText(ui->Memo1, FromWindows1252(m_state.CleanText));
        ui->Edit1->setText(QString::number(m_state.TextCount));
        setPanel(StatusPanel::LetterCount, QString::number(m_state.TextCount));
        ui->Edit2->setText(QString::number(m_state.TextCursor));
    }
    m_grid->refresh();
    m_scroller->show(ui->Memo1);

    const auto left = static_cast<long long>(m_state.CleanText.size()) - result.placed;
    if (left > 0) {
        showWarning(MatrixTooSmallMessage(result.capacity, left));
    }
}

// Clear the input and the transposition's text.
void TForm1::BitBtn3Click()
{
    abc::ClearInput(m_state);
    ShowText(ui->Memo1, {});
    ShowText(ui->Memo2, {});
    m_scroller->show(ui->Memo1);
}

// Step 3: cut off the residual matrix, the cells after the text.
void TForm1::BitBtn5Click()
{
    ui->Button2->setEnabled(true);
    ui->BitBtn5->setEnabled(false);

    ui->Edit2->setText(QString::number(m_state.TextCursor));
    if (const std::optional<int> rows = abc::CutResidualMatrix(m_state))
        ui->Edit6->setText(QString::number(*rows));
    m_grid->refresh();
    m_scroller->show(ui->GroupBox3);
}

// Step 4: transpose, reading the columns in key order.
void TForm1::Button2Click()
{
    ui->BitBtn8->setEnabled(true);
    ui->BitBtn9->setEnabled(true);
    ui->Button1->setEnabled(true);
    ui->Button2->setEnabled(false);
    setPanel(StatusPanel::Step, QStringLiteral("Transposition"));

    AppendWriteOrder(ui->Edit3, ui->Edit4, abc::Transpose(m_state));
    ShowText(ui->Memo2, FromWindows1252(m_state.TranspositionText));
    m_grid->refresh();
    // The matrix first, then its read-out: where both do not fit, the text.
    m_scroller->show(ui->GroupBox3);
    m_scroller->show(ui->Memo2);
}

// Step 5: substitute, shifting each letter back.
void TForm1::Button1Click()
{
    ui->BitBtn8->setEnabled(true);
    ui->Button1->setEnabled(false);

    const auto method = ui->RadioGroup1Item0->isChecked() ? abc::CipherMethod::ABC : abc::CipherMethod::ABCD;
    abc::Substitute(m_state, method);
    ui->Edit2->setText(QString::number(m_state.SubstitutionText.size()));
    ShowText(ui->Memo3, FromWindows1252(m_state.SubstitutionText));
    m_scroller->show(ui->Memo3);
}

void TForm1::toggleGroups(QPushButton *button, QPlainTextEdit *area, const std::string &text,
                          const QString &groupCaption, const QString &blockCaption)
{
    if (button->text() == groupCaption) {
        button->setText(blockCaption);
        ShowText(area, FromWindows1252(abc::GroupInFives(text)));
    } else {
        button->setText(groupCaption);
        ShowText(area, FromWindows1252(text));
    }
    m_scroller->show(area);
}

// Show the input in groups of five or as a block.
void TForm1::BitBtn4Click()
{
    toggleGroups(ui->BitBtn4, ui->Memo1, m_state.CleanText, InputGroupCaption, InputBlockCaption);
}

// Show the transposed text in groups of five or as a block.
void TForm1::BitBtn8Click()
{
    toggleGroups(ui->BitBtn8, ui->Memo2, m_state.TranspositionText, TranspositionGroupCaption,
                 TranspositionBlockCaption);
}

// Show the plaintext in groups of five or as a block.
void TForm1::BitBtn9Click()
{
    toggleGroups(ui->BitBtn9, ui->Memo3, m_state.SubstitutionText, SubstitutionGroupCaption, SubstitutionBlockCaption);
}

// Repeat: back to step 1 for a new key.
void TForm1::BitBtn7Click()
{
    ui->ComboBox1->setEnabled(true);
    ui->BitBtn6->setEnabled(true);
    // The pressed button is about to be disabled. What comes next is a new
    // key, so the keyword box takes the focus, not the next control in the
    // tab order (which would be a text area with the old result).
    if (ui->BitBtn7->hasFocus())
        ui->ComboBox1->setFocus(Qt::OtherFocusReason);
    ui->BitBtn4->setEnabled(false);
    ui->BitBtn7->setEnabled(false);
    ui->BitBtn8->setEnabled(false);
    ui->BitBtn9->setEnabled(false);
    ui->BitBtn4->setText(InputGroupCaption);
    ui->BitBtn8->setText(TranspositionGroupCaption);
    ui->BitBtn9->setText(SubstitutionGroupCaption);

    for (QLineEdit *edit : {ui->Edit1, ui->Edit2, ui->Edit5, ui->Edit6})
        edit->setText(QStringLiteral("???"));
    ShowText(ui->Memo1, {});
    ShowText(ui->Memo2, {});
    ShowText(ui->Memo3, {});
    abc::ResetGrid(m_state);
    m_grid->refresh();
}

void TForm1::RadioGroup1Click()
{
    const bool abcSelected = ui->RadioGroup1Item0->isChecked();
    ui->Label1->setText(abcSelected ? QStringLiteral("Decoding ABC-Chiffre") : QStringLiteral("Decoding ABCD-Chiffre"));
    setPanel(StatusPanel::Method, abcSelected ? QStringLiteral("ABC-Chiffre") : QStringLiteral("ABCD-Chiffre"));
}

void TForm1::ComboBox1Change(const QString &text)
{
    if (ui->Edit7->text() != text)
        ui->Edit7->setText(text);
    setPanel(StatusPanel::Keyword, text);
}

void TForm1::Edit7Change(const QString &text)
{
    if (ui->ComboBox1->currentText() != text)
        ui->ComboBox1->setEditText(text);
    setPanel(StatusPanel::Keyword, text);
}
