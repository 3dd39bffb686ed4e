// The editing form: the right-hand pane of the main window, showing the current layout field by
// field on template 101 and writing the user's edits back into it. It keeps the list of recently
// used layout files (in the settings), eight extra-text slots behind one set of controls and
// the overprint colour, and its buttons call the document and the dialogs.
#pragma once
#include "app/form/FormUnitTables.h"
#include "platform/qt/fw/Control.h"
#include "platform/qt/fw/FormView.h"
#include <QString>
#include <array>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

class COrvanelDoc;
class Layout;

class COrvanelForm : public fw::FormView {
public:
    static constexpr int kMaxRecent = 15;
    static constexpr int kExtraTextCount = 8;

    // The texts that go into the layout are held as the controls show them: a character the
    // layout cannot hold stays in the form until Update refuses it (TextsFitTheLayout).
    struct ExtraTextSlot {
        QString text;
        win::UINT font = 0;
        int shown = 0;
        int x = 0;
        int y = 0;
        int orientation = 0;
    };

    explicit COrvanelForm(QWidget* parent = nullptr);
    // Writes the recent list to the settings, clearing the entries beyond it.
    ~COrvanelForm() override;

    void DoDataExchange(fw::DataExchange& dx) override;
    void OnInitialUpdate() override;
    void OnUpdate(fw::View* sender, win::LPARAM hint) override;
    win::BOOL PreTranslateMessage(fw::MSG* msg) override;

    COrvanelDoc* GetDocument() const;

    void LoadFromLayout();
    // FALSE when a value did not validate: nothing was applied.
    win::BOOL ApplyToLayout();
    void EnableControls();
    int GetPanelWidth() const;
    int GetPanelWidthWithMargin() const { return GetPanelWidth() + 40; }

    void AddRecentPath(const std::string& path);
    void RemoveRecentPath(const std::string& path);
    void FillRecentCombo();
    void ClearRecentSelection();
    void LoadPathAndRecent();
    // n: a slot number minus one, or -1 for the number in the slot-number field.
    win::BOOL SelectExtraText(int n);
    void PickColour(win::COLORREF* colour, fw::Control& swatch);
    void SetSwatchColour(win::COLORREF colour, win::COLORREF* target, fw::Control& swatch);

    // Command handlers.
    void OnMarginTest();
    void OnNew();
    void OnOpen();
    void OnSave();
    void OnSaveAs();
    void OnPaperSelChange();
    void OnRecentSelChange();
    void OnUpdateButton() { ApplyToLayout(); }
    void OnOptions();
    void OnBrowseBackground();
    void OnPrintLayout();
    void OnProofTypeChanged();
    void OnLegend();
    void OnImageWidthFromHeight();
    void OnImageHeightFromWidth();
    void OnCombinedImageWidthFromHeight();
    void OnCombinedImageHeightFromWidth();
    void OnColour();
    void OnExtraTextIndexChange();

    // Control members.
    fw::Control paperWidthEdit;
    fw::Control paperHeightEdit;
    fw::Control recentCombo;
    fw::Control saveButton;
    // Values behind the controls.
    int paperIndex = -1;
    std::string recentText;
    win::UINT paperWidth = 0;
    int orientation = -1;
    win::UINT paperHeight = 0;
    std::string backgroundPath; // the file system's bytes
    int backgroundChoice = -1;
    win::UINT marginBottom = 0;
    win::UINT marginLeft = 0;
    win::UINT marginRight = 0;
    win::UINT marginTop = 0;
    int proofType = -1;
    std::array<form::UnitValues, form::kProofRowCount> proofUnits {};
    std::array<form::UnitValues, form::kCombinedRowCount> combinedUnits {};
    int overprint = 0;
    QString overprintWord;
    int printMainImage = 0;
    std::array<ExtraTextSlot, kExtraTextCount> extraTexts {};
    ExtraTextSlot currentText;
    win::UINT currentTextNumber = 1;
    fw::Control swatch;
    int diagonal = 0;
    win::UINT diagonalWidth = 5;
    bool initialised = false;
    std::deque<std::string> recentPaths;
    win::COLORREF overprintColour = 0;

private:
    void BuildMessageMap();
    void LoadPaper();
    void LoadBackground();
    void LoadProofUnits();
    void LoadCombinedUnits();
    void LoadGeneral();
    void StorePaper();
    void StoreBackground();
    void StoreProofUnits();
    void StoreCombinedUnits();
    void StoreGeneral();
    void ReadRecentPaths();
    // Whether every text that goes into the layout fits its single-byte code page; when one
    // does not, the user is told which field holds it and the focus goes there.
    bool TextsFitTheLayout();
    // Runs the proportion dialog for one image unit's side; true when the user chose OK.
    void ComputeImageSide(bool widthFromHeight, win::UINT& known, win::UINT& computed);
    void SetPaperEditsReadOnly(bool readOnly);
    Layout& GetLayout() const;

    bool recentRead_ = false;
    // The exchange of each value control, by id.
    std::map<win::UINT, std::function<void(fw::DataExchange&)>> exchanges_;
    void BuildExchanges();
};
