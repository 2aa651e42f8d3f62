#pragma once
// Answers message, question and file boxes from queues that a test fills beforehand.

#include "../Dialogs.h"

#include <QList>
#include <functional>
#include <utility>
#include <QStringList>

class FakeDialogs : public Dialogs {
public:
    QStringList messages;
    QStringList questions;
    QList<Focus> focused;     // the focused button of each question
    QList<bool> answers;      // next answers to question(); OK when empty
    QStringList files;        // next answers to openFileName(); cancelled when empty
    QStringList filters;
    std::function<void()> onMessage; // runs after a message is recorded
    // Answers the next question itself (a real box, say), once.
    std::function<bool(QWidget*, const QString&, const QString&, Focus)> asking;

    void message(QWidget*, const QString& text) override
    {
        messages << text;
        if (onMessage)
            onMessage();
    }
    bool question(QWidget* parent, const QString& caption, const QString& text, Focus focus = Focus::Ok) override
    {
        questions << caption + u'|' + text;
        focused << focus;
        if (asking)
            return std::exchange(asking, nullptr)(parent, caption, text, focus);
        return answers.isEmpty() ? true : answers.takeFirst();
    }
    QString openFileName(QWidget*, const QString& filter) override
    {
        filters << filter;
        return files.isEmpty() ? QString() : files.takeFirst();
    }
};
