#include "QtDialogs.h"

#include "Log.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QScreen>
#include <QShowEvent>
#include <QStringList>
#include <QTranslator>

using namespace Qt::StringLiterals;

namespace {
// Qt places a box over its window, and a window not on the screen yet (the board while the
// program starts) has no place worth taking: such a box goes to the middle of the screen.
class PlacedMessageBox : public QMessageBox {
public:
    PlacedMessageBox(Icon icon, const QString& caption, const QString& text, StandardButtons buttons,
                     QWidget* parent)
        : QMessageBox(icon, caption, text, buttons, parent),
          m_centre(!parent || !parent->window()->isVisible())
    {
        // A box is a window of its own and takes no font from the window it belongs to: it is
        // given that window's, so that it grows with a scaled board, and buttons big enough to
        // be hit at the first touch.
        if (parent)
            setFont(parent->window()->font());
        const int line = QFontMetrics(font()).height();
        const int height = qMax(MinimumTouch, 2 * line);
        for (QAbstractButton* button : this->buttons())
            button->setMinimumSize(qMax(button->sizeHint().width(), 3 * height), height);
    }

    static constexpr int MinimumTouch = 40;

protected:
    void showEvent(QShowEvent* event) override
    {
        QMessageBox::showEvent(event);
        if (!m_centre || event->spontaneous())
            return;
        const QRect area = screen()->geometry();
        const QSize frame = frameGeometry().size();
        move(area.x() + qMax(0, (area.width() - frame.width()) / 2),
             area.y() + qMax(0, (area.height() - frame.height()) / 2));
    }

private:
    bool m_centre;
};
}

void QtDialogs::message(QWidget* parent, const QString& text)
{
    qCInfo(lcMonitor).noquote() << "message:" << Log::oneLine(text);
    PlacedMessageBox box(QMessageBox::Information, QApplication::applicationDisplayName(), text,
                         QMessageBox::Ok, parent);
    box.exec();
}

bool QtDialogs::question(QWidget* parent, const QString& caption, const QString& text, Focus focus)
{
    PlacedMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Ok | QMessageBox::Cancel, parent);
    box.setDefaultButton(focus == Focus::Cancel ? QMessageBox::Cancel : QMessageBox::Ok);
    const bool ok = box.exec() == QMessageBox::Ok;
    qCInfo(lcMonitor).noquote() << "question:" << Log::oneLine(text) << (ok ? "- OK" : "- Cancel");
    return ok;
}

QString QtDialogs::openFileName(QWidget* parent, const QString& filter)
{
    // The filter's own title already names the file kinds: Qt's copy of the patterns after it
    // would say it twice.
    return QFileDialog::getOpenFileName(parent, QString(), QString(), toQtFilter(filter), nullptr,
                                        QFileDialog::HideNameFilterDetails);
}

QString QtDialogs::toQtFilter(const QString& filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(u';', Qt::SkipEmptyParts);
        for (QString& p : patterns)
            p = p.trimmed();
        out << parts[i] + QStringLiteral(" (") + patterns.join(u' ') + u')';
    }
    return out.join(u";;");
}

bool QtDialogs::installTranslations(const QLocale& locale)
{
    auto* translator = new QTranslator(QCoreApplication::instance());
    const QStringList folders{QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                              QCoreApplication::applicationDirPath() + u"/translations"_s};
    for (const QString& folder : folders) {
        // "qt" brings in every module's catalogue: qtbase's dialogs and buttons among them.
        if (translator->load(locale, u"qt"_s, u"_"_s, folder)) {
            QCoreApplication::installTranslator(translator);
            return true;
        }
    }
    delete translator;
    return false;
}
