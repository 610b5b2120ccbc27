#include "message_recorder.h"

namespace livros::testing {

MessageRecorder::MessageRecorder() : m_previous(setUserMessages(this)) {}
MessageRecorder::~MessageRecorder() { setUserMessages(m_previous); }

void MessageRecorder::inform(const QString& text)
{
    infos << text;
    all << QStringLiteral("info: ") + text;
    if (onMessage)
        onMessage(text);
}

void MessageRecorder::showError(const QString& text)
{
    const QString shown = errorDisplayText(text);
    errors << shown;
    all << QStringLiteral("error: ") + shown;
    if (onMessage)
        onMessage(shown);
}

} // namespace livros::testing
