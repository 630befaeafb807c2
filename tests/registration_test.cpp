// Each game family registers itself in one place (games/<family>/family.cpp).
// What a form or family registered only in part would leave wrong: every form
// described in forms/<Name>.cpp is registered, and every registered form is
// described there; each family opens from its button on Start and its Next and
// Previous arrows walk its forms in the order it registers them; no button on
// Start does nothing; and the lists the tests keep (the navigation table, the
// invariant sets, the plays) name registered forms only, every game form in
// exactly one invariant set, every family played.
#include "forms/navigation_rows.h"
#include "menu/form_catalog.h"
#include "runtime/text.h"
#include "tests/support/form_driver.h"
#include "tests/support/invariants.h"
#include "tests/support/plays.h"

#include <QDir>
#include <QTest>
#include <algorithm>

using namespace tuvrel;
using namespace tuvrel::test;

namespace {

const NavigationButton* navigationOf(std::string_view form, NavigationKind kind)
{
    for (const NavigationButton& b : navigationButtons())
        if (b.kind == kind && equalsIgnoringCase(b.form, form))
            return &b;
    return nullptr;
}

bool inFront(const Form& form)
{
    return form.isLoaded() && QApplication::activeWindow() == windowOf(form);
}

QString familyName(const GameFamily& family)
{
    return family.forms.empty() ? qs(family.startButton) : qs(family.forms.front().name());
}

}  // namespace

class RegistrationTest : public QObject {
    Q_OBJECT

private slots:
    void everyDescribedFormIsRegistered()
    {
        QStringList described;
        for (const QString& file : QDir(TUVREL_SOURCE_DIR "/forms").entryList({"*.cpp"}, QDir::Files))
            if (file.front().isUpper())
                described << file.chopped(4);
        QVERIFY2(described.contains("Start"), TUVREL_SOURCE_DIR "/forms holds no form files");
        Program program;
        QStringList registered;
        for (const std::string& name : program.registry().formNames())
            registered << qs(name);
        for (const QString& name : described)
            QVERIFY2(registered.contains(name),
                     qPrintable("forms/" + name + ".cpp describes a form that no family registers"));
        for (const QString& name : registered)
            QVERIFY2(described.contains(name), qPrintable(name + " is registered with no forms/" + name + ".cpp"));
    }

    void familyOpensFromStartAndWalksItsChain_data()
    {
        QTest::addColumn<int>("family");
        for (size_t i = 0; i < gameFamilies().size(); ++i)
            QTest::newRow(qPrintable(familyName(gameFamilies()[i]))) << int(i);
    }
    void familyOpensFromStartAndWalksItsChain()
    {
        QFETCH(int, family);
        const GameFamily& f = gameFamilies().at(size_t(family));
        QVERIFY(!f.forms.empty());
        Program program;
        click(program.show("Start"), f.startButton);
        QVERIFY2(inFront(program.form(f.forms.front().name())),
                 qPrintable("Start's button " + qs(f.startButton) + " does not show " + familyName(f)));
        for (size_t i = 0; i < f.forms.size(); ++i) {
            const std::string& name = f.forms[i].name();
            const NavigationButton* next = navigationOf(name, NavigationKind::Next);
            if (i + 1 == f.forms.size()) {
                QVERIFY2(!next, qPrintable(qs(name) + ", the last form of its family, has a Next arrow"));
                break;
            }
            const std::string& after = f.forms[i + 1].name();
            QVERIFY2(next, qPrintable(qs(name) + " has no Next arrow to " + qs(after)));
            Form& here = program.show(name);
            click(here, next->name);
            Form& there = program.form(after);
            QVERIFY2(inFront(there), qPrintable("the Next arrow of " + qs(name) + " does not show " + qs(after)));
            const NavigationButton* previous = navigationOf(after, NavigationKind::Previous);
            QVERIFY2(previous, qPrintable(qs(after) + " has no Previous arrow"));
            click(there, previous->name);
            QVERIFY2(inFront(here), qPrintable("the Previous arrow of " + qs(after) + " does not show " + qs(name)));
        }
    }

    void everyButtonOnStartDoesSomething()
    {
        Program program;
        const Form& start = program.show("Start");
        for (const ControlDescription& row : start.description().rows) {
            if (row.controlClass != ControlClass::CommandButton)
                continue;
            const ControlHandlers* handlers = start.formClass().handlersFor(row.name);
            QVERIFY2(handlers && handlers->click, qPrintable("Start's button " + qs(row.name) + " opens no game"));
        }
    }

    void navigationTableNamesRegisteredForms()
    {
        Program program;
        const FormRegistry& registry = program.registry();
        for (const NavigationButton& b : navigationButtons()) {
            QVERIFY2(registry.knows(b.form), qPrintable(QStringLiteral("the navigation button %1 is of %2, which no "
                                                                       "family registers")
                                                            .arg(b.name, b.form)));
            QVERIFY2(!b.target || registry.knows(b.target),
                     qPrintable(
                         QStringLiteral("%1 of %2 shows %3, which no family registers").arg(b.name, b.form, b.target)));
        }
    }

    void testsCoverEveryGameFormOnce()
    {
        Program program;
        const std::vector<InvariantSet> sets = familyInvariants();
        for (const InvariantSet& set : sets)
            for (const std::string& name : set.forms)
                QVERIFY2(program.registry().knows(name),
                         qPrintable("an invariant set names " + qs(name) + ", which no family registers"));
        for (const Play& p : plays())
            QVERIFY2(
                program.registry().knows(p.form),
                qPrintable(QStringLiteral("tests/support/plays.txt plays %1, which no family registers").arg(p.form)));

        for (const GameFamily& family : gameFamilies()) {
            int played = 0;
            for (const FormClass& formClass : family.forms) {
                const std::string& name = formClass.name();
                const auto inSet = [&](const InvariantSet& set) { return containsName(set.forms, name); };
                QVERIFY2(std::count_if(sets.begin(), sets.end(), inSet) == 1,
                         qPrintable(qs(name) + " is not in exactly one family's invariant set "
                                               "(tests/<family>_invariants.cpp)"));
                played += int(std::count_if(plays().begin(), plays().end(),
                                            [&](const Play& p) { return equalsIgnoringCase(p.form, name); }));
            }
            QVERIFY2(played > 0,
                     qPrintable("tests/support/plays.txt has no play of the family of " + familyName(family)));
        }
    }
};

QTEST_MAIN(RegistrationTest)
#include "registration_test.moc"
