#pragma once

#include "doubles/fakeservices.h"
#include "wizard/form1.h"
#include "wizard/state/globalvar.h"

#include <QAbstractButton>
#include <QString>

#include <memory>

// A wizard window on fake services, shown offscreen, with ways to reach its
// controls by their designer names and to read its whole state at once.
class WizardHarness
{
public:
    // Real services may stand in for the fake registry and processes.
    explicit WizardHarness(Registry *registry = nullptr, ProcessServices *processes = nullptr);
    ~WizardHarness();

    template<typename T = QWidget>
    T *control(const char *name) const
    {
        return form->findChild<T *>(QLatin1String(name));
    }
    QAbstractButton *button(const char *name) const { return control<QAbstractButton>(name); }

    // Walks the wizard forward to `page` with the user's clicks; on page 3
    // and 4, `platform` names the option chosen ("Option3", "Option4" or
    // nothing).
    void goToPage(int page, const char *platform = "Option3");
    void click(const char *name);

    // The page, visible frames, buttons and option values in one line:
    // "page=2 frames=F1 next=off:'Next  >>' back=on:'<<  Back' cancel=on options=-x--"
    QString snapshot() const;

    // What the ready or installing page shows, in one line:
    // "shown=Label4,Label5,Label6 enabled=Command1,Command2,Command3 timer1=off"
    QString installLook() const;

    FakeServices fakes;
    GlobalVar vars;
    std::unique_ptr<Form1> form;
};
