#include "error.h"

#include <QCoreApplication>
#include <QTranslator>

QString Sentence::text(const QTranslator *language) const
{
    const QString pattern = language ? language->translate(context, source)
                                     : QCoreApplication::translate(context, source);
    QString filled;
    filled.reserve(pattern.size());
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        const int index = i + 1 < pattern.size() ? pattern.at(i + 1).digitValue() - 1 : -1;
        if (c == u'%' && index >= 0 && index < arguments.size()) {
            filled += arguments.at(index);
            ++i;
        } else {
            filled += c;
        }
    }
    return filled;
}

bool Sentence::operator==(const Sentence &other) const
{
    return qstrcmp(context, other.context) == 0 && qstrcmp(source, other.source) == 0 &&
           arguments == other.arguments;
}

Error::Error(Code code, QString subject, QList<Sentence> sentences)
    : m_code(code), m_subject(std::move(subject)), m_sentences(std::move(sentences))
{
}

QString Error::message() const
{
    QString text;
    for (const Sentence &sentence : m_sentences)
        text += sentence.text();
    return text;
}

QString Error::message(const QTranslator &language) const
{
    QStringList texts;
    for (const Sentence &sentence : m_sentences) {
        if (!language.translate(sentence.context, sentence.source).isEmpty())
            texts << sentence.text(&language);
    }
    return texts.join(u' ');
}

Error Error::after(Sentence first) const
{
    QList<Sentence> sentences{std::move(first)};
    sentences += m_sentences;
    return Error(m_code, m_subject, std::move(sentences));
}
