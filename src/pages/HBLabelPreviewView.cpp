#include "pages/HBLabelPreviewView.h"

#include "platform/ui/UIGraphics.h"
#include "store/HBPreferences.h"

namespace {

// Mail's colours in each appearance; the labels keep theirs in both.
struct Palette {
    UIColor backdrop;
    UIColor row;
    UIColor strongText;
    UIColor text;
    UIColor count;
};

const Palette& paletteFor(bool dark) {
    static const Palette kLight{UIColor::colorWithRed(0.949, 0.949, 0.969, 1),
                                UIColor::whiteColor(), UIColor::colorWithWhite(0.55, 1),
                                UIColor::colorWithWhite(0.78, 1), UIColor::colorWithWhite(0.88, 1)};
    static const Palette kDark{UIColor::blackColor(), UIColor::colorWithRed(0.110, 0.110, 0.118, 1),
                               UIColor::colorWithWhite(0.55, 1), UIColor::colorWithWhite(0.30, 1),
                               UIColor::colorWithWhite(0.22, 1)};
    return dark ? kDark : kLight;
}

constexpr double kTextInset = 20;

// A line of text, drawn as a grey bar: the preview shows where text sits, not what it says.
void fillText(CGContextRef context, const UIColor& color, CGRect line) {
    CGContextSetFillColorWithColor(context, color);
    CGContextFillRect(context, line);
}

CGRect textLine(CGRect row, double top, double height, double widthFraction) {
    double room = row.size.width - 2 * kTextInset;
    return CGRectMake(row.origin.x + kTextInset, row.origin.y + top, room * widthFraction, height);
}

// The text of each scene's rows: a name or sender, a subject, and so on.
void drawSceneText(CGContextRef context, const Palette& palette, HBPreviewScene scene, CGRect row,
                   std::size_t index) {
    double vary = 0.08 * static_cast<double>(index % 3);
    switch (scene) {
        case HBPreviewScene::MailboxRows:
            fillText(context, palette.strongText, textLine(row, 14, 8, 0.35 + vary));
            break;
        case HBPreviewScene::MessageRows:
            fillText(context, palette.strongText, textLine(row, 10, 8, 0.38 + vary));
            fillText(context, palette.text, textLine(row, 25, 7, 0.62 - vary));
            fillText(context, palette.text, textLine(row, 38, 6, 0.80 - vary));
            break;
        case HBPreviewScene::MessageHeader:
            fillText(context, palette.text, textLine(row, 16, 7, 0.45));
            fillText(context, palette.text, textLine(row, 31, 7, 0.35));
            fillText(context, palette.strongText, textLine(row, 50, 10, 0.70));
            fillText(context, palette.text, textLine(row, 67, 6, 0.25));
            break;
        case HBPreviewScene::Toolbar:
            break;
    }
}

}  // namespace

HBLabelPreviewView::HBLabelPreviewView(double width, HBPreviewDescription description)
    : UIView(CGRectMake(0, 0, width, heightFor(description))), _reader(std::move(description)) {
    setUserInteractionEnabled(false);
    setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    _state = _reader.read(HBPreferences::paneStore(), _live);
}

double HBLabelPreviewView::heightFor(const HBPreviewDescription& description) {
    double height = description.empty() ? 0 : kGap;
    for (const HBPreviewPanel& panel : description.panels) {
        height += HBSceneLayout::of(panel.scene).rowHeight * static_cast<double>(panel.rows) + kGap;
    }
    return height;
}

void HBLabelPreviewView::setLiveValue(const std::string& key, double value) {
    _live.insert_or_assign(key, value);
    refresh();
}

void HBLabelPreviewView::clearLiveValue(const std::string& key) {
    _live.erase(key);
    refresh();
}

void HBLabelPreviewView::refresh() {
    HBPreviewState state = _reader.read(HBPreferences::paneStore(), _live);
    if (state != _state) {
        _state = std::move(state);
        setNeedsDisplay();
    }
}

std::vector<std::vector<CGRect>> HBLabelPreviewView::rowFrames() const {
    std::vector<std::vector<CGRect>> frames;
    double y = kGap;
    double width = bounds().size.width;
    for (const HBPreviewPanel& panel : _reader.description().panels) {
        double height = HBSceneLayout::of(panel.scene).rowHeight;
        std::vector<CGRect>& rows = frames.emplace_back();
        for (long row = 0; row < panel.rows; ++row) {
            rows.push_back(CGRectMake(0, y, width, height));
            y += height;
        }
        y += kGap;
    }
    return frames;
}

void HBLabelPreviewView::drawRect(CGRect) {
    CGContextRef context = UIGraphicsGetCurrentContext();
    if (!context) {
        return;
    }
    CGContextSetFillColorWithColor(context, paletteFor(_state.dark).backdrop);
    CGContextFillRect(context, bounds());
    std::vector<std::vector<CGRect>> frames = rowFrames();
    for (std::size_t p = 0; p < _state.panels.size() && p < frames.size(); ++p) {
        for (std::size_t r = 0; r < frames[p].size(); ++r) {
            drawRow(context, _state.panels[p], frames[p][r], r);
        }
    }
}

// The row, its label under the text (as Mail tints a row behind its text), then the text.
void HBLabelPreviewView::drawRow(CGContextRef context, const HBPanelState& panel, CGRect row,
                                 std::size_t index) const {
    const Palette& palette = paletteFor(_state.dark);
    CGContextSetFillColorWithColor(context, palette.row);
    CGContextFillRect(context, row);
    std::optional<UIColor> color =
        index < panel.rowColors.size() ? panel.rowColors[index] : std::nullopt;
    if (panel.labelsShown && color) {
        HBLabelMeaning::paint(context, row, panel.label, *color);
    }
    drawSceneText(context, palette, panel.scene, row, index);
    drawCount(context, panel, row, panel.labelsShown ? color : std::nullopt);
}

// The unread count: a pill at the right of a mailbox row, in the middle of the toolbar.
void HBLabelPreviewView::drawCount(CGContextRef context, const HBPanelState& panel, CGRect row,
                                   const std::optional<UIColor>& color) const {
    bool mailbox = panel.scene == HBPreviewScene::MailboxRows;
    if (!panel.countShown || (!mailbox && panel.scene != HBPreviewScene::Toolbar)) {
        return;
    }
    double width = mailbox ? 26 : 90;
    double x = mailbox ? row.origin.x + row.size.width - kTextInset - width
                       : row.origin.x + (row.size.width - width) / 2;
    CGRect pill = CGRectMake(x, row.origin.y + (row.size.height - 14) / 2, width, 14);
    const Palette& palette = paletteFor(_state.dark);
    bool colored = mailbox && panel.countColored && color;
    CGContextSetFillColorWithColor(context, colored ? *color : palette.count);
    CGContextFillRect(context, pill);
}
