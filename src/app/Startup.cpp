// Start-up: what happens between the start of the program and the learner's
// first click.
#include "form/Form1.h"

#include "controls/Convert.h"

void Form1::Form_Load()
{
    Command3.Visible = false;
    Picture1.Visible = false;
    BackColor = conv::rgb(224, 255, 255);
    bank.mondaiNo = 1;
    Picture7.Visible = false;
    chooseDisplayName();
    readStreakRecord();
    printStartHelp();

    fillPrimeTable();
    Picture1.Visible = false;
    Command2.Visible = false;
    run.dataFolder = dataFolderFor(s_.paths.programFolder);
    readResults();
    s_.random.reseed(s_.clock.secondsSinceMidnight());
    Label6.Caption = QString();
    Label13.Visible = false;
    Label14.Visible = false;
    Label12.Visible = false;
    readRecord();
    refreshDue();
    Visible = true;
    setFocus(Text2); // first in the tab order, so a shown window focuses it
}

void Form1::printStartHelp()
{
    // How a fraction is typed: denominator first, each token followed by Enter.
    // In the box's own twips, whatever scale a figure left.
    Picture6.Cls();
    Picture6.resetScale();
    Picture6.FontSize = 16;
    Picture6.print(QString());
    Picture6.print(QStringLiteral("メニューをクリックして問題を選んで"));
    Picture6.print(QString());
    Picture6.print(QStringLiteral("y=-2/3x を入力には"));
    Picture6.print(QStringLiteral("     さんぶんのに"));
    Picture6.print(QStringLiteral("　y↓=↓ -↓ 3↓ /↓ 2↓ x↓  "));
    Picture6.print(QStringLiteral("             （↓はエンターKEYです）"));
    Picture6.print(QStringLiteral("                 と入れてください。"));
}

void Form1::fillPrimeTable()
{
    // Entry 0 is 1; the fraction reduction reads the primes 2 to 59 at 1..17.
    static const int16_t table[25] = {1,  2,  3,  5,  7,  11, 13, 17, 19, 23, 29, 31, 37,
                                      41, 43, 47, 53, 59, 61, 67, 71, 79, 83, 89, 97};
    for (int i = 0; i < 25; ++i)
        run.primeTable[i] = table[i];
}

QString Form1::dataFolderFor(const QString &programFolder)
{
    // From the root of drive A the folder text ends in a backslash; "A:" keeps
    // folder + "\" + name a valid path.
    if (programFolder.contains(QStringLiteral("A:\\")))
        return QStringLiteral("A:");
    return programFolder;
}
