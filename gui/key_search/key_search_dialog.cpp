#include "gui/key_search/key_search_dialog.h"
#include "ui_key_search_dialog.h"

#include <QFileDialog>
#include <QFontDatabase>
#include <QHeaderView>
#include <QLocale>
#include <QPushButton>

#include <algorithm>
#include <optional>

#include "base/messages.h"
#include "base/windows1252_text.h"
#include "engine/builtin_keywords.h"
#include "engine/grouping.h"
#include "engine/text_cleaning.h"
#include "gui/accessible_names.h"
#include "gui/key_search/message_input_dialog.h"

namespace search = abc::search;

namespace {

constexpr int CandidateRows = 8;
constexpr std::size_t PlaintextShown = 60;
constexpr int ProgressSteps = 1000;
constexpr int MessageRowsShown = 4;
constexpr int FileErrorsShown = 3;

enum Column { KeywordColumn, MethodColumn, ScoreColumn, PlaintextColumn };

bool SameKey(const search::Candidate &a, const search::Candidate &b)
{
    return a.order == b.order && a.method == b.method;
}

QString Seconds(double seconds)
{
    return QLocale(QLocale::German).toString(seconds, 'f', seconds < 10 ? 1 : 0);
}

QString InputAreaSource()
{
    return QStringLiteral("Eingabe-Bereich");
}

QString LettersText(std::size_t letters)
{
    return letters == 0 ? QStringLiteral("keine Buchstaben")
        : letters == 1  ? QStringLiteral("1 Buchstabe")
                        : QStringLiteral("%1 Buchstaben").arg(letters);
}

} // namespace

KeySearchDialog::KeySearchDialog(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::KeySearchDialog>())
{
    ui->setupUi(this);
    QHeaderView *header = ui->CandidateTable->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setStretchLastSection(true);
    // One line per candidate, as tight as in a list.
    ui->CandidateTable->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    // Every candidate in sight; the plaintexts below take the rest.
    ui->CandidateTable->setMinimumHeight(header->sizeHint().height() + CandidateRows * (fontMetrics().height() + 6)
                                         + 2 * ui->CandidateTable->frameWidth());
    ui->ReadingsText->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    ui->ResultSplitter->setStretchFactor(0, 3);
    ui->ResultSplitter->setStretchFactor(1, 2);

    m_messages.push_back({InputAreaSource(), {}});
    showMessageList(0);
    // A few rows in sight keep the dialog within small screens; more scroll.
    ui->MessageList->setFixedHeight(
        std::max(ui->MessageList->sizeHintForRow(0) * MessageRowsShown + 2 * ui->MessageList->frameWidth(),
                 ui->MessageButtonsLayout->minimumSize().height()));

    DescribeByObjectName(this);

    m_clockTick.setInterval(250);
    connectControls();
    ui->SearchButton->setFocus();
}

KeySearchDialog::~KeySearchDialog() = default;

void KeySearchDialog::connectControls()
{
    connect(&m_clockTick, &QTimer::timeout, this, &KeySearchDialog::showElapsed);
    connect(&m_runner, &SearchRunner::progress, this, &KeySearchDialog::showProgress);
    connect(&m_runner, &SearchRunner::bestChanged, this, &KeySearchDialog::addCandidate);
    connect(&m_runner, &SearchRunner::finished, this, &KeySearchDialog::finish);
    connect(ui->SearchButton, &QPushButton::clicked, this, &KeySearchDialog::searchRequested);
    connect(ui->CancelButton, &QPushButton::clicked, this, &KeySearchDialog::cancel);
    connect(ui->TakeKeyButton, &QPushButton::clicked, this, &KeySearchDialog::takeSelectedKey);
    connect(ui->CloseButton, &QPushButton::clicked, this, &KeySearchDialog::close);
    connect(ui->CandidateTable, &QTableWidget::itemSelectionChanged, this, [this] {
        m_userPicked = m_userPicked || !m_selecting;
        updateTakeButton();
        showReadings();
    });
    connect(ui->CandidateTable, &QTableWidget::cellDoubleClicked, this, &KeySearchDialog::takeSelectedKey);
    connect(ui->AddMessageButton, &QPushButton::clicked, this, &KeySearchDialog::openMessageInput);
    connect(ui->AddFilesButton, &QPushButton::clicked, this, &KeySearchDialog::openMessageFiles);
    connect(ui->RemoveMessageButton, &QPushButton::clicked, this, &KeySearchDialog::removeSelectedMessage);
    // The input area's text is the main window's to change.
    connect(ui->MessageList, &QListWidget::currentRowChanged, this,
            [this](int row) { ui->RemoveMessageButton->setEnabled(row > 0); });
}

void KeySearchDialog::done(int result)
{
    m_runner.finishNow();
    // A message being added goes with the dialog.
    for (QDialog *child : findChildren<QDialog *>(Qt::FindDirectChildrenOnly))
        child->reject();
    QDialog::done(result);
}

void KeySearchDialog::cancel()
{
    m_runner.cancel();
    ui->CancelButton->setEnabled(false);
    showMessage(QStringLiteral("Die Suche wird abgebrochen …"));
}

void KeySearchDialog::startSearch(std::string cipherText)
{
    // What the old search left is of no more use.
    m_runner.abandon();
    m_clockTick.stop();
    ui->CancelButton->setEnabled(false);
    m_userPicked = false;
    showCandidates({});
    ui->ProgressBar->setValue(0);
    m_messages.front().cipherText = std::move(cipherText);
    m_inputHandedOver = true;
    showMessageList(ui->MessageList->currentRow());

    std::vector<std::string> texts = messagesToSearch();
    if (texts.size() == 1 && texts.front().size() < search::MinTextLength)
        return refuseSearch(TooShortMessage());
    const std::size_t longest =
        std::max_element(texts.begin(), texts.end(), [](const std::string &a, const std::string &b) {
            return a.size() < b.size();
        })->size();
    ProbableWords cribs = ParseProbableWords(ui->CribEdit->text(), longest);
    if (!cribs.error.isEmpty())
        return refuseSearch(cribs.error);

    search::SearchOptions options;
    options.timeLimitSeconds = ui->TimeLimitBox->value();
    options.keywords = abc::BuiltInKeywords();
    options.candidateCount = CandidateRows;
    options.cribs = std::move(cribs.words);

    m_runner.start(std::move(texts), std::move(options));
    m_keyLength = 0;
    m_clock.start();
    m_clockTick.start();
    showElapsed();
    showMessage({});
    ui->SearchButton->setText(QStringLiteral("Neu &suchen"));
    ui->CancelButton->setEnabled(true);
}

void KeySearchDialog::refuseSearch(const QString &reason)
{
    ui->ProgressLabel->setText(QStringLiteral("Nicht gesucht."));
    showMessage(reason);
}

// The listed messages' texts, and their labels for the results.
std::vector<std::string> KeySearchDialog::messagesToSearch()
{
    std::vector<std::string> texts;
    std::size_t letters = 0;
    m_searchedLabels.clear();
    // An empty input area leaves the search to the messages added here.
    const std::size_t first = m_messages.front().cipherText.empty() && m_messages.size() > 1 ? 1 : 0;
    for (std::size_t index = first; index < m_messages.size(); ++index) {
        const TrafficMessage &message = m_messages[index];
        texts.push_back(message.cipherText);
        letters += message.cipherText.size();
        m_searchedLabels.push_back(QStringLiteral("Nachricht %1 (%2)").arg(index + 1).arg(message.source));
    }
    if (texts.size() > 1)
        ui->TextLabel->setText(QStringLiteral("Geheimtexte: %1 Nachrichten mit zusammen %2, gesucht wird ihr "
                                              "gemeinsamer Schlüssel.")
                                   .arg(QString::number(texts.size()), LettersText(letters)));
    else if (first == 0)
        ui->TextLabel->setText(QStringLiteral("Geheimtext: %1 Buchstaben aus dem Eingabe-Bereich.").arg(letters));
    else
        ui->TextLabel->setText(
            QStringLiteral("Geheimtext: %1 aus %2.").arg(LettersText(letters), m_searchedLabels.front()));
    return texts;
}

void KeySearchDialog::openMessageInput()
{
    auto *input = new MessageInputDialog(this);
    input->setAttribute(Qt::WA_DeleteOnClose);
    connect(input, &QDialog::accepted, this, [this, input] {
        std::string letters = abc::CleanInputText(ToWindows1252Lines(input->text()));
        if (letters.empty())
            showMessage(QStringLiteral("Der eingefügte Text enthält keine Buchstaben; keine Nachricht hinzugefügt."));
        else
            addMessage({QStringLiteral("eingefügt"), std::move(letters)});
    });
    input->open();
}

void KeySearchDialog::openMessageFiles()
{
    auto *files = new QFileDialog(this, QStringLiteral("Nachrichten aus Dateien hinzufügen"), m_fileFolder);
    files->setObjectName(QStringLiteral("MessageFileDialog"));
    files->setAttribute(Qt::WA_DeleteOnClose);
    files->setFileMode(QFileDialog::ExistingFiles);
    files->setNameFilters({QStringLiteral("Textdateien (*.txt)"), QStringLiteral("Alle Dateien (*)")});
    connect(files, &QFileDialog::filesSelected, this, [this, files](const QStringList &paths) {
        m_fileFolder = files->directory().absolutePath();
        addMessageFiles(paths);
    });
    files->open();
}

void KeySearchDialog::addMessageFiles(const QStringList &paths)
{
    QStringList errors;
    for (const QString &path : paths) {
        MessageFile file = ReadMessageFile(path);
        if (file.error.isEmpty())
            m_messages.push_back(std::move(file.message));
        else
            errors << file.error;
    }
    showMessageList(static_cast<int>(m_messages.size()) - 1);
    if (errors.isEmpty())
        return;
    // However many files failed, the message stays a few lines.
    if (errors.size() > FileErrorsShown) {
        const auto more = errors.size() - FileErrorsShown;
        errors.resize(FileErrorsShown);
        errors << QStringLiteral("… und %1 weitere.").arg(more);
    }
    showMessage(QStringLiteral("Nicht hinzugefügt: ") + errors.join(QLatin1Char(' ')));
}

void KeySearchDialog::addMessage(TrafficMessage message)
{
    m_messages.push_back(std::move(message));
    showMessageList(static_cast<int>(m_messages.size()) - 1);
}

void KeySearchDialog::removeSelectedMessage()
{
    const int row = ui->MessageList->currentRow();
    if (row <= 0)
        return;
    m_messages.erase(m_messages.begin() + row);
    showMessageList(std::min(row, static_cast<int>(m_messages.size()) - 1));
}

void KeySearchDialog::showMessageList(int selectRow)
{
    QListWidget *list = ui->MessageList;
    list->clear();
    for (std::size_t index = 0; index < m_messages.size(); ++index) {
        const TrafficMessage &message = m_messages[index];
        const QString letters = index == 0 && !m_inputHandedOver ? QStringLiteral("wird beim Suchen übernommen")
                                                                 : LettersText(message.cipherText.size());
        list->addItem(QStringLiteral("%1. %2 – %3").arg(index + 1).arg(message.source, letters));
    }
    list->setCurrentRow(selectRow);
}

void KeySearchDialog::showProgress(const search::Progress &progress)
{
    ui->ProgressBar->setValue(static_cast<int>(std::clamp(progress.fraction, 0.0, 1.0) * ProgressSteps));
    m_keyLength = progress.keyLength;
    showElapsed();
}

void KeySearchDialog::finish(const search::SearchResult &result)
{
    m_clockTick.stop();
    ui->CancelButton->setEnabled(false);
    // A cancelled search keeps what it found so far.
    if (!result.candidates.empty() || result.status != search::SearchStatus::Cancelled)
        showCandidates(result.candidates);
    const QString time = Seconds(result.seconds);
    switch (result.status) {
    case search::SearchStatus::Found:
        ui->ProgressBar->setValue(ProgressSteps);
        ui->ProgressLabel->setText(QStringLiteral("Fertig nach %1 s.").arg(time));
        showMessage(QStringLiteral("Der beste Kandidat liest sich wie deutscher Text."));
        break;
    case search::SearchStatus::NoCandidate:
        ui->ProgressBar->setValue(ProgressSteps);
        ui->ProgressLabel->setText(QStringLiteral("Fertig nach %1 s.").arg(time));
        showMessage(NoCandidateMessage());
        break;
    case search::SearchStatus::TooShort:
        ui->ProgressLabel->setText(QStringLiteral("Nicht gesucht."));
        showMessage(TooShortMessage());
        break;
    case search::SearchStatus::Cancelled:
        ui->ProgressLabel->setText(QStringLiteral("Abgebrochen nach %1 s.").arg(time));
        showMessage(m_candidates.empty() ? QStringLiteral("Die Suche wurde abgebrochen.")
                                         : QStringLiteral("Die Suche wurde abgebrochen; die Liste zeigt die "
                                                          "bis dahin besten Kandidaten."));
        break;
    }
}

void KeySearchDialog::addCandidate(const search::Candidate &candidate)
{
    // The search reports only its best; the list keeps the best it has seen.
    std::vector<search::Candidate> candidates = m_candidates;
    std::erase_if(candidates, [&](const search::Candidate &shown) { return SameKey(shown, candidate); });
    const auto at = std::find_if(candidates.begin(), candidates.end(),
                                 [&](const search::Candidate &shown) { return shown.score < candidate.score; });
    candidates.insert(at, candidate);
    if (candidates.size() > CandidateRows)
        candidates.resize(CandidateRows);
    showCandidates(std::move(candidates));
}

void KeySearchDialog::showCandidates(std::vector<search::Candidate> candidates)
{
    // A candidate the user picked stays selected when the list changes.
    const search::Candidate *selected = m_userPicked ? selectedCandidate() : nullptr;
    const std::optional<search::Candidate> keep = selected ? std::optional(*selected) : std::nullopt;
    m_candidates = std::move(candidates);

    QTableWidget *table = ui->CandidateTable;
    m_selecting = true;
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    table->setRowCount(static_cast<int>(m_candidates.size()));
    int selectRow = m_candidates.empty() ? -1 : 0;
    for (int row = 0; row < table->rowCount(); ++row) {
        const search::Candidate &candidate = m_candidates[row];
        if (keep && SameKey(candidate, *keep))
            selectRow = row;
        // The word list's spelling is UTF-8, the keyword Windows-1252.
        const QString keyword = !candidate.dictionaryWord.empty() ? QString::fromStdString(candidate.dictionaryWord)
            : candidate.writable                                  ? FromWindows1252(candidate.keyword)
                                                                  : UnwritableKeyText();
        const std::string_view plain(candidate.plainText);
        const QString texts[] = {keyword, MethodName(candidate.method),
                                 QLocale(QLocale::German).toString(candidate.score, 'f', 2),
                                 FromWindows1252(abc::GroupInFives(plain.substr(0, PlaintextShown)))};
        for (int column = KeywordColumn; column <= PlaintextColumn; ++column) {
            auto *item = new QTableWidgetItem(texts[column]);
            if (column == PlaintextColumn)
                item->setFont(fixed);
            if (column == ScoreColumn)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table->setItem(row, column, item);
        }
    }
    if (selectRow >= 0)
        table->selectRow(selectRow);
    m_selecting = false;
    updateTakeButton();
    showReadings();
}

void KeySearchDialog::showReadings()
{
    const search::Candidate *candidate = selectedCandidate();
    const QString text = candidate ? ReadingsText(*candidate, m_searchedLabels) : QString();
    // Unchanged readings keep their place while the search reports.
    if (ui->ReadingsText->toPlainText() != text)
        ui->ReadingsText->setPlainText(text);
}

const search::Candidate *KeySearchDialog::selectedCandidate() const
{
    const QList<QTableWidgetItem *> items = ui->CandidateTable->selectedItems();
    if (items.isEmpty())
        return nullptr;
    const int row = items.front()->row();
    return row < static_cast<int>(m_candidates.size()) ? &m_candidates[row] : nullptr;
}

void KeySearchDialog::updateTakeButton()
{
    const search::Candidate *candidate = selectedCandidate();
    const bool takeable = candidate && candidate->writable;
    ui->TakeKeyButton->setEnabled(takeable);
    // Return takes a key once there is one, rather than searching again.
    ui->TakeKeyButton->setDefault(takeable);
    ui->SearchButton->setDefault(!takeable);
}

void KeySearchDialog::takeSelectedKey()
{
    const search::Candidate *candidate = selectedCandidate();
    if (!candidate || !candidate->writable)
        return;
    m_offeredKeyword = FromWindows1252(candidate->keyword);
    m_offeredMethod = candidate->method;
    emit keyChosen(m_offeredKeyword, candidate->method);
}

void KeySearchDialog::reportKeyTaken(bool taken)
{
    if (!taken) {
        showMessage(QStringLiteral("Im Hauptfenster ist schon ein Schlüssel gesetzt. Erst „Wiederholen“ drücken, "
                                   "dann den Schlüssel übernehmen."));
        return;
    }
    showMessage(QStringLiteral("Schlüssel „%1“ und %2 übernommen.").arg(m_offeredKeyword, MethodName(m_offeredMethod)));
}

void KeySearchDialog::showMessage(const QString &text)
{
    ui->MessageLabel->setText(text);
}

void KeySearchDialog::showElapsed()
{
    if (!searching())
        return;
    ui->ProgressLabel->setText(
        QStringLiteral("Sucht: %1, %2 s")
            .arg(SearchPhaseText(m_keyLength), Seconds(static_cast<double>(m_clock.elapsed()) / 1000)));
}
