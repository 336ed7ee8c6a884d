// The comparison-star dialog: a field around a target from the catalogue files chosen, shown on
// its finder chart with the converter's closing line, and saved as the table, the chart and the
// photometry programs' lists, each the very bytes the command line writes. Its fields and files
// are kept under HKEY_CURRENT_USER\Software\TychoBVR between runs.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <array>
#include <string>
#include <vector>

#include "ChartDots.h"
#include "ChartShapes.h"

class ComparisonStars {
public:
    // Opens with the fields and files of the last run, and any files dropped to open it.
    explicit ComparisonStars(std::vector<std::u16string> added = {});
    ComparisonStars(const ComparisonStars&) = delete;
    ComparisonStars& operator=(const ComparisonStars&) = delete;

    // Runs the dialog as a modal one of the owner's.
    void Run(HWND owner);

    // What Show made: empty before it, after Cancel, and where the fields were wrong.
    enum class Output { Table, Chart, AstroImageJ, Siril };
    const std::string& Bytes(Output output) const { return outputs_[Index(output)]; }
    // Writes one of them to `path`, put in place only when complete; the system's reason where
    // it could not.
    bool SaveTo(Output output, const std::u16string& path, std::u16string& reason) const;
    // The star whose dot is at a point of the chart control, as its tooltip shows it.
    std::u16string StarAt(POINT point) const;
    // Where a point of the chart, in its units, lies in the chart control.
    POINT ToControl(double x, double y) const;
    HWND Dialog() const { return dialog_; }

private:
    static std::size_t Index(Output output) { return static_cast<std::size_t>(output); }
    static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnInitDialog();
    void OnCommand(WPARAM wParam);
    void OnDrawItem(const DRAWITEMSTRUCT& item);
    LRESULT OnNotify(const NMHDR& header);
    HBRUSH OnCtlColorStatic(HDC dc, HWND control);
    void OnDropFiles(HDROP drop);
    void Show_Click();
    void CatalogueFiles_Click();
    void Save_Click(Output output);
    void ShowFiles();
    void Clear();
    void Load();
    void Store() const;
    // The rectangle the chart is drawn in, as large as the control allows, its shape kept.
    RECT Drawn() const;

    HWND dialog_ = nullptr;
    HWND tooltip_ = nullptr;
    std::vector<std::u16string> files_;
    std::array<std::string, 4> outputs_;
    std::vector<ChartShape> shapes_;
    ChartDots dots_;
    std::u16string tip_;  // the tooltip's text while it is shown
};
