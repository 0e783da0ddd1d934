#include "common/OperatorDialogs.h"

#include "support/KeyTyping.h"
#include "support/QtPrinters.h"

#include <QApplication>
#include <QFontMetrics>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include <gtest/gtest.h>

#include <optional>

namespace brindle {
namespace {

TEST(QtOperatorDialogsTest, aLongPromptWrapsOntoSeveralLinesRatherThanWideningTheInputBox)
{
    const QString prompt = QStringLiteral("Enter the % of the screen you would like the form to cover.  Try between 90 "
                                          "and 100 for best results.  Values below 75 do not display well.");
    QtOperatorDialogs dialogs;
    int boxWidth = 0;
    int promptLines = 0;
    int promptOnOneLine = 0;
    // Looks at the box while it waits for the operator, then answers it.
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        const QLabel* promptLabel = box->findChild<QLabel*>();
        ASSERT_NE(promptLabel, nullptr);
        boxWidth = box->width();
        promptLines = promptLabel->height() / promptLabel->fontMetrics().lineSpacing();
        promptOnOneLine = promptLabel->fontMetrics().horizontalAdvance(prompt);
        box->setTextValue(QStringLiteral("95"));
        box->accept();
    });

    const std::optional<QString> answer
        = dialogs.inputBox(QStringLiteral("Please enter screen percentage."), prompt, QStringLiteral("100"));
    EXPECT_EQ(answer, QStringLiteral("95"));
    EXPECT_LT(boxWidth, promptOnOneLine);
    EXPECT_GE(promptLines, 2);
}

TEST(QtOperatorDialogsTest, anInputBoxTakesOnlyTextTheFilesCanHold)
{
    QtOperatorDialogs dialogs;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        auto* field = box->findChild<QLineEdit*>();
        ASSERT_NE(field, nullptr);
        field->clear();
        test::typeAnyText(field, QString::fromUtf8("QTH \u0141\u00f3d\u017a"));
        box->accept();
    });
    EXPECT_EQ(dialogs.inputBox(QStringLiteral("Comment"), QStringLiteral("Comment for every contact"), QString()),
        QString::fromLatin1("QTH \xF3"
                            "d"));
}

} // namespace
} // namespace brindle
