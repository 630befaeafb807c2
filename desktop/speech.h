#pragma once
// Reading aloud on the desktop: Qt's text-to-speech (QtTextToSpeech, through
// speech-dispatcher or another engine of the machine) with a Dutch voice, or
// nothing. Never a voice of another language: a machine without a Dutch one
// stays silent. What is read and when is the core's (FormRegistry).
#include <QString>
#include <QStringList>
#include <memory>
#include <string>
#include <vector>

class QTextToSpeech;

namespace tuvrel {

class DutchSpeech {
public:
    // The first of these engines (Qt's names for them) that has a Dutch
    // voice, set to speak Dutch; nullptr where none has, with the reason in
    // `problem` (in Dutch, for the command line).
    static std::unique_ptr<DutchSpeech> open(const QStringList& engines, QString* problem);
    // The engines of this machine, as Qt finds them (none where the program
    // was built without QtTextToSpeech).
    static QStringList installedEngines();

    ~DutchSpeech();
    DutchSpeech(const DutchSpeech&) = delete;
    DutchSpeech& operator=(const DutchSpeech&) = delete;

    QString engine() const;
    QString localeName() const;  // e.g. "nl_NL"
    // Stops what is being read and reads the texts, as sentences one after
    // the other; an empty list only stops.
    void read(const std::vector<std::string>& texts);

    // The texts as one text to speak: each ends as a sentence ("tellen"
    // becomes "tellen.").
    static QString sentences(const std::vector<std::string>& texts);

private:
    explicit DutchSpeech(std::unique_ptr<QTextToSpeech> speech);
    std::unique_ptr<QTextToSpeech> speech_;
};

}  // namespace tuvrel
