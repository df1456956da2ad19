#include "doubles/scriptedmessageboxes.h"

void ScriptedMessageBoxes::information(QWidget *, const QString &text)
{
    shown << QStringLiteral("Information: ") + text;
    if (whileShown)
        whileShown(shown.last());
}

bool ScriptedMessageBoxes::question(QWidget *, const QString &text)
{
    shown << QStringLiteral("Question: ") + text;
    if (whileShown)
        whileShown(shown.last());
    return answers.isEmpty() ? false : answers.takeFirst();
}
