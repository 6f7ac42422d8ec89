// Prints the entries a language pack lacks, as pack lines holding the built-in texts, ready to
// paste and translate; entries no window has any more follow as comments. Run by
// scripts/pack-missing; the shipped packs' completeness is tst_packs' business.
#include "PackCheck.h"
#include "TestSettings.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: pack_missing PACK\n", stderr);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TTestSettings settings; // the windows are built without touching the user's settings
    SetPackProgram(QStringLiteral("/nonexistent/velitra"));
    const packcheck::TNeeds needs = packcheck::ProgramTexts();
    const TLanguagePack pack =
        ReadLanguagePack(QString::fromLocal8Bit(argv[1])).value_or(TLanguagePack{});
    const QStringList missing = packcheck::Missing(needs, pack);
    std::fputs(packcheck::PasteText(needs, missing).toUtf8().constData(), stdout);
    const QStringList unused = packcheck::Unused(needs, pack);
    if (!unused.isEmpty())
        std::fputs(("\n; entries no window has:\n; " + unused.join("\n; ") + "\n").toUtf8(),
                   stdout);
    UnloadLanguagePack();
    SetPackProgram(QString());
    return 0;
}
