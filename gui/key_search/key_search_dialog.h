#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>

#include <memory>
#include <string>
#include <vector>

#include "analysis/key_search.h"
#include "gui/key_search/search_runner.h"
#include "gui/key_search/traffic.h"

namespace Ui {
class KeySearchDialog;
}

// Searches keyword and method of a ciphertext on a worker thread while the
// windows stay usable, shows the progress and the best candidates, and hands
// the chosen candidate to the main window through keyChosen(). More messages
// under the same key, pasted or from files, are searched together with the
// input area's text, for the key they share. A new search or closing the
// dialog stops the running one and waits for it (the search stops within a
// tenth of a second).
class KeySearchDialog : public QDialog
{
    Q_OBJECT

public:
    explicit KeySearchDialog(QWidget *parent = nullptr);
    ~KeySearchDialog() override;

    // Searches the input area's cleaned text (capitals only) and the
    // messages added here.
    void startSearch(std::string cipherText);
    // Adds the text files' messages; a file that holds none is named in the
    // dialog's message.
    void addMessageFiles(const QStringList &paths);
    bool searching() const { return m_runner.running(); }
    // The main window's answer to keyChosen(): whether it took the key.
    void reportKeyTaken(bool taken);

    void done(int result) override;

signals:
    // "Suchen" was pressed; the main window answers with startSearch().
    void searchRequested();
    void keyChosen(const QString &keyword, abc::CipherMethod method);

private:
    void connectControls();
    void cancel();
    void refuseSearch(const QString &reason);
    std::vector<std::string> messagesToSearch();
    void openMessageInput();
    void openMessageFiles();
    void addMessage(TrafficMessage message);
    void removeSelectedMessage();
    void showMessageList(int selectRow);
    void showReadings();
    void showProgress(const abc::search::Progress &progress);
    void finish(const abc::search::SearchResult &result);
    void addCandidate(const abc::search::Candidate &candidate);
    void showCandidates(std::vector<abc::search::Candidate> candidates);
    void showMessage(const QString &text);
    void showElapsed();
    void updateTakeButton();
    void takeSelectedKey();
    const abc::search::Candidate *selectedCandidate() const;

    std::unique_ptr<Ui::KeySearchDialog> ui;

    // The input area's text first, known once a search handed it over.
    std::vector<TrafficMessage> m_messages;
    bool m_inputHandedOver = false;
    QString m_fileFolder;
    // Where the messages of the shown results came from, in the search's order.
    std::vector<QString> m_searchedLabels;

    int m_keyLength = 0;
    QElapsedTimer m_clock;
    QTimer m_clockTick;
    std::vector<abc::search::Candidate> m_candidates;
    // Until the user picks a row, the selection stays on the best candidate.
    bool m_userPicked = false;
    bool m_selecting = false;
    QString m_offeredKeyword;
    abc::CipherMethod m_offeredMethod = abc::CipherMethod::ABC;

    SearchRunner m_runner;
};
