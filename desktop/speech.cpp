#include "desktop/speech.h"

#ifdef TUVREL_HAS_SPEECH
#include <QLocale>
#include <QTextToSpeech>
#include <QVoice>
#include <algorithm>
#else
// Built without QtTextToSpeech: no engine is ever made.
class QTextToSpeech {};
#endif

namespace tuvrel {

#ifdef TUVREL_HAS_SPEECH

// The program is built with QtTextToSpeech: the type is complete here.
DutchSpeech::DutchSpeech(std::unique_ptr<QTextToSpeech> speech) : speech_(std::move(speech)) {}

DutchSpeech::~DutchSpeech()
{
    if (speech_)
        speech_->stop(QTextToSpeech::BoundaryHint::Immediate);
}

QStringList DutchSpeech::installedEngines()
{
    return QTextToSpeech::availableEngines();
}

std::unique_ptr<DutchSpeech> DutchSpeech::open(const QStringList& engines, QString* problem)
{
    if (engines.isEmpty()) {
        if (problem)
            *problem = QStringLiteral("er is geen spraakprogramma op deze computer "
                                      "(installeer qt6-speech-speechd-plugin en speech-dispatcher)");
        return nullptr;
    }
    QStringList tried;
    for (const QString& engine : engines) {
        auto speech = std::make_unique<QTextToSpeech>(engine);
        if (speech->state() == QTextToSpeech::Error) {
            tried << QStringLiteral("%1 werkt niet: %2").arg(engine, speech->errorString());
            continue;
        }
        // A Dutch locale, the Netherlands' before Flanders' and any other.
        QList<QLocale> dutch;
        for (const QLocale& locale : speech->availableLocales())
            if (locale.language() == QLocale::Dutch)
                dutch << locale;
        std::stable_sort(dutch.begin(), dutch.end(), [](const QLocale& a, const QLocale& b) {
            return (a.territory() == QLocale::Netherlands) > (b.territory() == QLocale::Netherlands);
        });
        bool chosen = false;
        for (const QLocale& locale : dutch) {
            speech->setLocale(locale);
            if (speech->locale().language() != QLocale::Dutch)
                continue;
            const QList<QVoice> voices = speech->availableVoices();
            if (!voices.isEmpty())
                speech->setVoice(voices.constFirst());
            chosen = true;
            break;
        }
        if (chosen)
            return std::unique_ptr<DutchSpeech>(new DutchSpeech(std::move(speech)));
        tried << QStringLiteral("%1 heeft geen Nederlandse stem").arg(engine);
    }
    if (problem)
        *problem = QStringLiteral("er is geen Nederlandse stem op deze computer (%1; installeer speech-dispatcher "
                                  "met speech-dispatcher-espeak-ng)")
                       .arg(tried.join(QStringLiteral(", ")));
    return nullptr;
}

QString DutchSpeech::engine() const
{
    return speech_->engine();
}

QString DutchSpeech::localeName() const
{
    return speech_->locale().name();
}

void DutchSpeech::read(const std::vector<std::string>& texts)
{
    speech_->stop(QTextToSpeech::BoundaryHint::Immediate);
    if (const QString text = sentences(texts); !text.isEmpty())
        speech_->say(text);
}

#else

// Never opened, so never read from.
DutchSpeech::DutchSpeech(std::unique_ptr<QTextToSpeech> speech) : speech_(std::move(speech)) {}
DutchSpeech::~DutchSpeech() = default;

QStringList DutchSpeech::installedEngines()
{
    return {};
}

std::unique_ptr<DutchSpeech> DutchSpeech::open(const QStringList&, QString* problem)
{
    if (problem)
        *problem = QStringLiteral("deze Tuvrel is gebouwd zonder spraak (Qt TextToSpeech)");
    return nullptr;
}

QString DutchSpeech::engine() const
{
    return {};
}

QString DutchSpeech::localeName() const
{
    return {};
}

void DutchSpeech::read(const std::vector<std::string>&) {}

#endif

QString DutchSpeech::sentences(const std::vector<std::string>& texts)
{
    QStringList parts;
    for (const std::string& t : texts) {
        QString part = QString::fromStdString(t).trimmed();
        if (part.isEmpty())
            continue;
        if (!part.endsWith(QLatin1Char('.')) && !part.endsWith(QLatin1Char('?')) && !part.endsWith(QLatin1Char('!')))
            part += QLatin1Char('.');
        parts << part;
    }
    return parts.join(QLatin1Char(' '));
}

}  // namespace tuvrel
