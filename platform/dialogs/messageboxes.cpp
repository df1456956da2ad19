#include "platform/dialogs/messageboxes.h"

#include "platform/text/messagetext.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace {

// Qt's texts on the boxes' buttons (the generic and the GNOME theme's), in
// the context menus of the licence box, its scroll bars and a box's
// selectable text, with the menus' shortcut names.
const ToolkitText QtTexts[] = {
    {"QPlatformTheme", QT_TRANSLATE_NOOP("QPlatformTheme", "OK")},
    {"QPlatformTheme", QT_TRANSLATE_NOOP("QPlatformTheme", "&Yes")},
    {"QPlatformTheme", QT_TRANSLATE_NOOP("QPlatformTheme", "&No")},
    {"QGnomeTheme", QT_TRANSLATE_NOOP("QGnomeTheme", "&OK")},
    {"QWidgetTextControl", QT_TRANSLATE_NOOP("QWidgetTextControl", "&Undo")},
    {"QWidgetTextControl", QT_TRANSLATE_NOOP("QWidgetTextControl", "&Redo")},
    {"QWidgetTextControl", QT_TRANSLATE_NOOP("QWidgetTextControl", "Cu&t")},
    {"QWidgetTextControl", QT_TRANSLATE_NOOP("QWidgetTextControl", "&Copy")},
    {"QWidgetTextControl", QT_TRANSLATE_NOOP("QWidgetTextControl", "&Paste")},
    {"QWidgetTextControl", QT_TRANSLATE_NOOP("QWidgetTextControl", "Delete")},
    {"QWidgetTextControl", QT_TRANSLATE_NOOP("QWidgetTextControl", "Select All")},
    {"QWidgetTextControl", QT_TRANSLATE_NOOP("QWidgetTextControl", "Copy &Link Location")},
    // The licence box's submenu where the system has a right-to-left keyboard.
    {"QUnicodeControlCharacterMenu", QT_TRANSLATE_NOOP("QUnicodeControlCharacterMenu", "Insert Unicode control character")},
    {"QUnicodeControlCharacterMenu", QT_TRANSLATE_NOOP("QUnicodeControlCharacterMenu", "LRM Left-to-right mark")},
    {"QUnicodeControlCharacterMenu", QT_TRANSLATE_NOOP("QUnicodeControlCharacterMenu", "RLM Right-to-left mark")},
    {"QUnicodeControlCharacterMenu", QT_TRANSLATE_NOOP("QUnicodeControlCharacterMenu", "ZWJ Zero width joiner")},
    {"QUnicodeControlCharacterMenu", QT_TRANSLATE_NOOP("QUnicodeControlCharacterMenu", "ZWNJ Zero width non-joiner")},
    {"QUnicodeControlCharacterMenu", QT_TRANSLATE_NOOP("QUnicodeControlCharacterMenu", "ZWSP Zero width space")},
    {"QUnicodeControlCharacterMenu", QT_TRANSLATE_NOOP("QUnicodeControlCharacterMenu", "LRE Start of left-to-right embedding")},
    {"QUnicodeControlCharacterMenu", QT_TRANSLATE_NOOP("QUnicodeControlCharacterMenu", "RLE Start of right-to-left embedding")},
    {"QUnicodeControlCharacterMenu", QT_TRANSLATE_NOOP("QUnicodeControlCharacterMenu", "LRO Start of left-to-right override")},
    {"QUnicodeControlCharacterMenu", QT_TRANSLATE_NOOP("QUnicodeControlCharacterMenu", "RLO Start of right-to-left override")},
    {"QUnicodeControlCharacterMenu", QT_TRANSLATE_NOOP("QUnicodeControlCharacterMenu", "PDF Pop directional formatting")},
    {"QUnicodeControlCharacterMenu", QT_TRANSLATE_NOOP("QUnicodeControlCharacterMenu", "LRI Left-to-right isolate")},
    {"QUnicodeControlCharacterMenu", QT_TRANSLATE_NOOP("QUnicodeControlCharacterMenu", "RLI Right-to-left isolate")},
    {"QUnicodeControlCharacterMenu", QT_TRANSLATE_NOOP("QUnicodeControlCharacterMenu", "FSI First strong isolate")},
    {"QUnicodeControlCharacterMenu", QT_TRANSLATE_NOOP("QUnicodeControlCharacterMenu", "PDI Pop directional isolate")},
    {"QScrollBar", QT_TRANSLATE_NOOP("QScrollBar", "Scroll here")},
    {"QScrollBar", QT_TRANSLATE_NOOP("QScrollBar", "Left edge")},
    {"QScrollBar", QT_TRANSLATE_NOOP("QScrollBar", "Top")},
    {"QScrollBar", QT_TRANSLATE_NOOP("QScrollBar", "Right edge")},
    {"QScrollBar", QT_TRANSLATE_NOOP("QScrollBar", "Bottom")},
    {"QScrollBar", QT_TRANSLATE_NOOP("QScrollBar", "Page left")},
    {"QScrollBar", QT_TRANSLATE_NOOP("QScrollBar", "Page up")},
    {"QScrollBar", QT_TRANSLATE_NOOP("QScrollBar", "Page right")},
    {"QScrollBar", QT_TRANSLATE_NOOP("QScrollBar", "Page down")},
    {"QScrollBar", QT_TRANSLATE_NOOP("QScrollBar", "Scroll left")},
    {"QScrollBar", QT_TRANSLATE_NOOP("QScrollBar", "Scroll up")},
    {"QScrollBar", QT_TRANSLATE_NOOP("QScrollBar", "Scroll right")},
    {"QScrollBar", QT_TRANSLATE_NOOP("QScrollBar", "Scroll down")},
    {"QShortcut", QT_TRANSLATE_NOOP("QShortcut", "Ctrl")},
    {"QShortcut", QT_TRANSLATE_NOOP("QShortcut", "Shift")},
    {"QShortcut", QT_TRANSLATE_NOOP("QShortcut", "+")},
};

// A box's text quotes values (a kit folder, the registry's manager path) that
// may hold anything; Qt would read one that looks like markup as rich text.
std::unique_ptr<QMessageBox> plainBox(const char *title, const QString &text, QMessageBox::StandardButtons buttons,
                                      QWidget *parent)
{
    auto box = std::make_unique<QMessageBox>(QMessageBox::NoIcon, QCoreApplication::translate("MessageBoxes", title),
                                             QString(), buttons, parent);
    box->setTextFormat(Qt::PlainText);
    box->setText(withElidedValues(text));
    return box;
}

} // namespace

std::unique_ptr<QMessageBox> createInformationBox(QWidget *parent, const QString &text)
{
    return plainBox(QT_TRANSLATE_NOOP("MessageBoxes", "Information"), text, QMessageBox::Ok, parent);
}

std::unique_ptr<QMessageBox> createQuestionBox(QWidget *parent, const QString &text)
{
    auto box = plainBox(QT_TRANSLATE_NOOP("MessageBoxes", "Question"), text, QMessageBox::Yes | QMessageBox::No,
                        parent);
    box->setDefaultButton(QMessageBox::Yes);
    // Esc and the box's close button answer No, never Yes.
    box->setEscapeButton(QMessageBox::No);
    return box;
}

std::span<const ToolkitText> toolkitTexts()
{
    return QtTexts;
}

void QtMessageBoxes::information(QWidget *parent, const QString &text)
{
    createInformationBox(parent, text)->exec();
}

bool QtMessageBoxes::question(QWidget *parent, const QString &text)
{
    return createQuestionBox(parent, text)->exec() == QMessageBox::Yes;
}
