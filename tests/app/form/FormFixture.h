// The fixture of the editing form tests: the dialog fixture (Qt application, scripted modal
// services and dialogs, settings in a temporary file, fresh program options), a fresh undo
// manager and image cache, a document with the form and a view that records the hints, and the
// form's initial update done.
#pragma once
#include "app/dialogs/DialogsFixture.h"
#include "app/document/OrvanelDoc.h"
#include "app/document/UndoManager.h"
#include "app/form/OrvanelForm.h"
#include "imaging/wrapper/ImageCache.h"
#include "platform/qt/fw/View.h"
#include "qt/fw/DialogScript.h"

#include <QLineEdit>
#include <QScrollArea>
#include <QTest>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace formtest {

class RecordingView : public fw::View {
public:
    void OnUpdate(fw::View*, win::LPARAM hint) override { hints.push_back(hint); }
    std::vector<win::LPARAM> hints;
};

inline std::string LayoutBytes(const Layout& layout)
{
    std::ostringstream out;
    layout.WriteCsv(out);
    return out.str();
}

class FormTest : public dialogstest::DialogsTest {
protected:
    void SetUp() override
    {
        DialogsTest::SetUp();
        GetUndoManager().Reset();
        GetImageCache().RestoreInitialState();
        document = std::make_unique<COrvanelDoc>();
        drawing = std::make_unique<RecordingView>();
        document->AddView(drawing.get());
        OpenForm();
    }
    void TearDown() override
    {
        CloseForm();
        document->RemoveView(drawing.get());
        drawing.reset();
        document.reset();
        GetUndoManager().Reset();
        GetImageCache().RestoreInitialState();
        DialogsTest::TearDown();
    }
    // A form as the frame makes it: on the document, initial update done.
    void OpenForm()
    {
        form = std::make_unique<COrvanelForm>();
        document->AddView(form.get());
        form->OnInitialUpdate();
    }
    // Closing the form writes its recent list to the settings.
    void CloseForm()
    {
        if (!form)
            return;
        document->RemoveView(form.get());
        form.reset();
    }
    std::string Text(win::UINT id) const { return form->GetDlgItem(id)->GetWindowText(); }
    bool Enabled(win::UINT id) const { return form->GetDlgItem(id)->IsWindowEnabled() != win::FALSE; }
    void Type(win::UINT id, const std::string& text)
    {
        qttest::TypeInto(*form, id, QString::fromStdString(text));
    }
    void Click(win::UINT id) { qttest::Click(*form, id); }
    LayoutUnit& Unit(const std::string& name)
    {
        return *document->GetLayout().GetRootUnit()->FindByName(name);
    }
    // Changes the layout's type as a fresh layout of that type would have it, and reloads.
    void UseProofType(int type)
    {
        document->GetLayout().SetLayoutType(type);
        form->LoadFromLayout();
    }

    std::unique_ptr<COrvanelDoc> document;
    std::unique_ptr<RecordingView> drawing;
    std::unique_ptr<COrvanelForm> form;
};

} // namespace formtest
