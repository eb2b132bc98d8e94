// Renders every control, menu and dialog of the toolkit in each of the five skins to PNGs, to
// look at by eye. Not a test.
// Usage: ostinel_gui_sample [output folder]   (default /tmp/ostinel-gui-sample)
#include "common/QelCommon.h"
#include "graphics/Png.h"
#include "gui/controls/Button.h"
#include "gui/controls/DrawGrid.h"
#include "gui/controls/Edit.h"
#include "gui/controls/Label.h"
#include "gui/controls/ListBox.h"
#include "gui/controls/PopupMenuLayer.h"
#include "gui/controls/QelGuiPanel.h"
#include "gui/controls/QelGuiStitchedSwitch.h"
#include "gui/controls/QelMenuButton.h"
#include "gui/controls/QelNumericEdit.h"
#include "gui/controls/QelNumericInput.h"
#include "gui/controls/QelPopupMenu.h"
#include "gui/controls/QelSpTBXSpeedButton.h"
#include "gui/dialogs/InputDlg.h"
#include "gui/dialogs/InputDlgNumeric.h"
#include "gui/dialogs/MessageDialog.h"
#include "gui/skins/Skin.h"

#include "gui/WidgetTestSupport.h"

#include <cctype>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

namespace {

using namespace ostinel::gui;
using ostinel::gui::test::Harness;

// A perforated-metal tile like the editor's background: dark plate, staggered holes.
Image MakeTile() {
    Image tile(16, 16, Color::Rgb(0x202020));
    auto hole = [&tile](int x, int y) {
        const std::uint8_t shades[3][3] = {
            {0x10, 0x08, 0x14}, {0x08, 0x00, 0x18}, {0x16, 0x22, 0x34}};
        for (int dy = 0; dy < 3; ++dy) {
            for (int dx = 0; dx < 3; ++dx) {
                const std::uint8_t g = shades[dy][dx];
                tile.SetPixel(x + dx, y + dy, Color{g, g, g, 255});
            }
        }
    };
    hole(2, 2);
    hole(10, 10);
    return tile;
}

class Backdrop final : public Widget {
public:
    Backdrop() : tile_(MakeTile()) {}
    void Paint(Canvas& canvas) override { canvas.TileImage(tile_, ClientRect(), {0, 0}); }

private:
    Image tile_;
};

void Save(const WidgetRoot& root, const std::filesystem::path& path) {
    SavePng(root.GetCanvas(), path);
    std::printf("wrote %s\n", path.string().c_str());
}

// A part of the picture enlarged (nearest neighbour) for checking pixels by eye.
void SaveZoom(const WidgetRoot& root, const Rect& part, int factor,
              const std::filesystem::path& path) {
    const Image& src = root.GetCanvas().Surface();
    Image out(part.Width() * factor, part.Height() * factor);
    for (int y = 0; y < out.Height(); ++y) {
        for (int x = 0; x < out.Width(); ++x) {
            out.SetPixel(x, y, src.GetPixel(part.left + x / factor, part.top + y / factor));
        }
    }
    SavePng(out, path);
    std::printf("wrote %s\n", path.string().c_str());
}

TQelGuiPanel& MakePanel(Widget& parent, Rect r, std::uint8_t alpha, float radius, bool group) {
    auto& p = parent.Add<TQelGuiPanel>();
    p.SetBounds(r);
    p.SetAlpha(alpha);
    p.SetBorderRadius(radius);
    p.SetPanelGroupColor(group);
    return p;
}

void BuildDecadePopup(TQelNumericInput& input) {
    input.SetMinValue(0);
    input.SetMaxValue(127);
    input.OnGetPopupGroup = [](int v, std::string& caption) {
        caption = ostinel::DecadeRangeText(v);
    };
}

struct Sheet {
    TQelMenuButton* menu = nullptr;
    TQelNumericInput* to = nullptr;
    TQelSpTBXSpeedButton* hot = nullptr;
    TEdit* edit = nullptr;
};

// The editor-like sheet: heading, channel header, controls, list and grid.
Sheet BuildSheet(Harness& h) {
    Sheet sheet;
    auto& content = *h.root.Content();
    auto& back = content.Add<Backdrop>();
    back.SetBounds(0, 0, 720, 470);

    // Heading.
    auto& heading = MakePanel(content, {0, 0, 720, 41}, 255, 2.0f, false);
    auto& menu = heading.Add<TQelMenuButton>();
    menu.SetPosition(6, 8);
    sheet.menu = &menu;
    auto& name = heading.Add<TLabel>();
    name.SetCaptionFont(MakeFont("Tahoma", 21));
    name.SetCaption("Ostinel");
    name.SetPosition(40, 9);
    auto& presets = heading.Add<TQelSpTBXSpeedButton>("Bass Line Variation 2");
    presets.SetCaptionFont(MakeFont("Segoe UI", 13));
    presets.SetBounds(226, 8, 205, 26);
    auto& info = MakePanel(heading, Rect::FromSize(453, 8, 261, 26), 255, 6.0f, true);
    auto& infoText = info.Add<TLabel>();
    infoText.SetCaptionFont(MakeFont("Tahoma", 11));
    infoText.SetAutoSize(false);
    infoText.SetAlignment(TextAlign::Center);
    infoText.SetBounds(6, 6, 249, 14);
    infoText.SetCaption("1-Scale: 20% <=> 50%");

    // Main panel.
    auto& main = MakePanel(content, {3, 45, 717, 467}, 220, 5.0f, false);
    auto& channel = main.Add<TLabel>();
    channel.SetCaptionFont(MakeFont("Tahoma", 15));
    channel.SetCaption("Channel 1");
    channel.SetPosition(37, 10);
    auto& active = main.Add<TQelGuiStitchedSwitch>();
    active.SetPosition(6, 6);
    active.SetValue(true);
    auto& inactive = main.Add<TQelGuiStitchedSwitch>();
    inactive.SetPosition(130, 6);
    for (int i = 0; i < 16; ++i) {
        auto& b = main.Add<TQelSpTBXSpeedButton>(std::to_string(i + 1));
        b.SetBounds(270 + 26 * i, 8, 24, 24);
        b.SetGroupIndex(1);
        b.SetUnderline(i % 3 == 0);
        if (i == 2) {
            b.SetDown(true);
        }
    }
    auto& rangeLabel = main.Add<TLabel>();
    rangeLabel.SetCaptionFont(MakeFont("Segoe UI", 13));
    rangeLabel.SetCaption("Range");
    rangeLabel.SetPosition(37, 47);
    auto& from = main.Add<TQelNumericInput>();
    from.SetBounds(86, 45, 42, 21);
    BuildDecadePopup(from);
    from.SetValue(36);
    auto& dash = main.Add<TLabel>();
    dash.SetCaptionFont(MakeFont("Segoe UI", 16));
    dash.SetCaption("-");
    dash.SetPosition(135, 45);
    auto& to = main.Add<TQelNumericInput>();
    to.SetBounds(148, 45, 42, 21);
    BuildDecadePopup(to);
    to.SetValue(60.25f);
    to.SetHighlight(true);
    sheet.to = &to;
    auto& channelMenu = main.Add<TQelMenuButton>();
    channelMenu.SetPosition(210, 42);

    auto& edit = main.Add<TEdit>();
    edit.SetBounds(270, 43, 150, 23);
    edit.SetText("Bass Line 1");
    sheet.edit = &edit;
    auto& numeric = main.Add<TQelNumericEdit>();
    numeric.SetBounds(430, 43, 75, 24);
    numeric.SetMinValue(-100);
    numeric.SetMaxValue(100);
    numeric.SetValue(-25);
    auto& ok = main.Add<TButton>("OK", TModalResult::OK);
    ok.SetBounds(515, 42, 80, 26);
    ok.SetDefault(true);
    auto& disabled = main.Add<TButton>("Cancel", TModalResult::Cancel);
    disabled.SetBounds(602, 42, 80, 26);
    disabled.SetEnabled(false);

    auto& list = main.Add<TListBox>();
    list.SetBounds(6, 80, 330, 120);
    list.SetColumns(3);
    for (const char* n :
         {"bass",        "Bass2",      "drum",   "Drums Funk",  "Hats",     "init",
          "Lead",        "Organ Stab", "Pad",    "Piano Split", "Strings",  "Toms & Kit",
          "Vocal Chops", "Wobble",     "Zither", "Arp Up",      "Arp Down", "Chord Stack",
          "Dub Delay",   "Euclid 5-8", "Fifths"}) {
        list.AddItem(n);
    }
    list.SetItemIndex(5);

    auto& grid = main.Add<TDrawGrid>();
    grid.SetBounds(346, 80, 362, 330);
    grid.SetColCount(5);
    grid.SetRowCount(40);
    grid.SetFixedCols(1);
    grid.SetFixedRows(1);
    grid.SetDefaultRowHeight(20);
    grid.SetRowHeight(0, 26);
    grid.SetColWidth(0, 86);
    grid.SetColWidth(1, 38);
    grid.SetColWidth(2, 80);
    grid.SetColWidth(3, 52);
    grid.SetColWidth(4, grid.GridClientWidth() - (86 + 1) - (38 + 1) - (80 + 1) - (52 + 1));
    static const char* const headers[] = {"NOTE", "1-Ch", "1-Note", "1-Scale", "1-Prob"};
    grid.OnDrawCell = [](Canvas& c, int col, int row, const Rect& r, TGridDrawState) {
        const TSkin& skin = ActiveSkin();
        std::string text;
        Font font = MakeFont("Segoe UI", 12);
        Color color = skin.GridText;
        if (row == 0) {
            text = headers[col];
            color = skin.GridFixedText;
        } else {
            font = MakeFont("Consolas", 12);
            const int note = 127 - row + 1;
            if (col == 0) {
                if (note == 125) {
                    c.FillRect(r, skin.NoteHighlight);
                }
                text = (note < 100 ? "0" : "") + std::to_string(note) + " - " +
                       ostinel::NoteName(note);
            } else if (col == 1) {
                text = "1";
            } else if (col == 2) {
                text = std::to_string(note) + " - " + ostinel::NoteName(note);
            } else if (col == 3) {
                text = std::to_string((note % 9) * 5 - 20) + "%";
            } else {
                text = "100%";
            }
        }
        DrawTextInRect(c, font, text, r, color, TextAlign::Center);
    };

    auto& stepLabel = main.Add<TLabel>("Grid, list, edit boxes, buttons (hot, default, disabled)");
    stepLabel.SetPosition(6, 212);
    stepLabel.SetCaptionFont(MakeFont("Tahoma", 11));

    auto& flatRow = main.Add<TLabel>("Flat speed buttons:");
    flatRow.SetPosition(6, 236);
    for (int i = 0; i < 3; ++i) {
        auto& b = main.Add<TQelSpTBXSpeedButton>(i == 0 ? "Flat" : i == 1 ? "Hot" : "Down");
        b.SetFlat(true);
        b.SetBounds(140 + i * 64, 231, 60, 24);
        if (i == 2) {
            b.SetDown(true);
        }
        if (i == 1) {
            sheet.hot = &b;
        }
    }
    auto& arrow = main.Add<TQelSpTBXSpeedButton>("Drop-down");
    arrow.SetDropDownArrow(true);
    arrow.SetBounds(6, 265, 120, 26);

    content.NotifyLoaded();
    return sheet;
}

std::string SkinFile(const std::string& stem) {
    std::string name(ActiveSkin().Name);
    for (char& c : name) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return stem + "-" + name + ".png";
}

void RenderControls(const std::filesystem::path& dir) {
    Harness h(720, 470);
    Sheet sheet = BuildSheet(h);
    const Rect hot = sheet.hot->RootRect();
    h.MoveTo({hot.left + 5, hot.top + 5});
    sheet.edit->SetFocus(FocusReason::Mouse);
    sheet.edit->SetSelStart(5);
    sheet.edit->SetSelLength(4);
    h.root.Update();
    Save(h.root, dir / SkinFile("controls"));
    SaveZoom(h.root, {0, 0, 240, 120}, 3, dir / SkinFile("zoom-heading"));
    SaveZoom(h.root, {260, 40, 720, 130}, 2, dir / SkinFile("zoom-buttons"));
    SaveZoom(h.root, {0, 120, 360, 350}, 2, dir / SkinFile("zoom-list"));
}

void RenderMenus(const std::filesystem::path& dir) {
    {
        Harness h(720, 470);
        Sheet sheet = BuildSheet(h);
        const Rect r = sheet.to->RootRect();
        h.Click({r.left + 10, r.top + 10}, MouseButton::Right);
        TPopupMenuLayer* view = sheet.to->Popup().View();
        if (view != nullptr) {
            // Hover the group "60 – 69", then item 64 in its submenu.
            const Rect group = view->ItemRect(0, 6);
            h.MoveTo({group.left + 20, group.top + 5});
            if (view->LevelCount() > 1) {
                const Rect item = view->ItemRect(1, 4);
                h.MoveTo({item.left + 20, item.top + 5});
            }
        }
        h.root.Update();
        Save(h.root, dir / SkinFile("menu-values"));
    }
    {
        Harness h(720, 470);
        Sheet sheet = BuildSheet(h);
        TQelPopupMenu menu;
        auto& items = menu.Items();
        items.Add("Init");
        items.AddSeparator();
        items.Add("Load Preset");
        items.Add("Save Preset");
        items.AddSeparator();
        auto& octave = items.Add("Lowest Octave");
        octave.Add("0", 0);
        octave.Add("-1", -1);
        octave.Add("-2", -2).Checked = true;
        octave.Visible = false;
        auto& skin = items.Add("Skin");
        for (int i = 0; i < 5; ++i) {
            skin.Add(std::string(GetSkin(static_cast<TSkinKind>(i)).Name), i);
        }
        menu.CheckItemsByTag(static_cast<int>(ActiveSkin().Kind), &skin, false);
        skin.Items(4).Enabled = false;
        items.AddSeparator();
        items.Add("Open User Guide");
        items.AddSeparator();
        items.Add("About");
        sheet.menu->SetDropDownMenu(&menu);
        const Rect b = sheet.menu->RootRect();
        h.MoveTo({b.left + 5, b.top + 5});
        h.Press({b.left + 5, b.top + 5});
        if (TPopupMenuLayer* view = menu.View(); view != nullptr) {
            const Rect skinItem = view->ItemRect(0, 5);
            h.MoveTo({skinItem.left + 30, skinItem.top + 5});
            if (view->LevelCount() > 1) {
                const Rect item = view->ItemRect(1, 2);
                h.MoveTo({item.left + 30, item.top + 5});
            }
        }
        h.root.Update();
        Save(h.root, dir / SkinFile("menu-main"));
        menu.Close();
    }
}

void RenderDialogs(const std::filesystem::path& dir) {
    struct Message {
        const char* stem;
        const char* text;
        const char* caption;
        TMsgDlgButtons buttons;
        TMsgDlgType kind;
    };
    const Message messages[] = {
        {"dialog-confirm", "Initialize preset?", "Init", TMsgDlgButtons::YesNo,
         TMsgDlgType::Confirmation},
        {"dialog-warning",
         "Error saving preset.\r\n\r\n\"Cannot create file C:\\Users\\Someone\\Documents\\"
         "Quorvat\\Ostinel\\Presets\\Bass Line.quorvatp. Access is denied.\"",
         "Save Preset", TMsgDlgButtons::OK, TMsgDlgType::Warning},
        {"dialog-info", "Ostinel v1.00\r\rBuild date: 2024-05-01\r\rQuorvat, 2024\r", "About",
         TMsgDlgButtons::OK, TMsgDlgType::Information},
    };
    for (const Message& m : messages) {
        Harness h(720, 470);
        BuildSheet(h);
        auto& form = ShowMessageDialog(h.root, m.text, m.caption, m.buttons, m.kind);
        h.root.Update();
        Save(h.root, dir / SkinFile(m.stem));
        SaveZoom(h.root, form.WindowRect().Intersect({0, 0, 720, 470}), 2,
                 dir / SkinFile(std::string("zoom-") + m.stem));
    }
    {
        Harness h(720, 470);
        BuildSheet(h);
        InputText(h.root, "Save Preset", "Name", "Bass Line", 50, true, nullptr);
        h.root.Update();
        Save(h.root, dir / SkinFile("dialog-input-text"));
    }
    {
        Harness h(720, 470);
        BuildSheet(h);
        auto& form = InputNumber(h.root, "Set Velocity Scale All ",
                                 "Velocity Scale (-100% - +100%)", -25, 0, -100, 100, nullptr);
        (void)form;
        h.root.Update();
        Save(h.root, dir / SkinFile("dialog-input-number"));
    }
}

} // namespace

int main(int argc, char** argv) {
    try {
        const std::filesystem::path dir = argc > 1 ? argv[1] : "/tmp/ostinel-gui-sample";
        std::filesystem::create_directories(dir);
        for (int style = 0; style < 5; ++style) {
            ActivateSkin(style);
            RenderControls(dir);
            RenderMenus(dir);
            RenderDialogs(dir);
        }
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
