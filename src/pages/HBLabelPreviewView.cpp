#include "pages/HBLabelPreviewView.h"

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

CGRect textLine(CGRect row, double top, double height, double widthFraction) {
    double room = row.size.width - 2 * kTextInset;
    return CGRectMake(row.origin.x + kTextInset, row.origin.y + top, room * widthFraction, height);
}

// A line of text shows as a grey bar: the preview shows where text sits, not what it says.
struct HBPreviewTextLine {
    bool strong;
    CGRect frame;
};

// The text of each scene's rows: a name or sender, a subject, and so on. The number of lines
// depends on the scene only.
std::vector<HBPreviewTextLine> sceneText(HBPreviewScene scene, CGRect row, std::size_t index) {
    double vary = 0.08 * static_cast<double>(index % 3);
    switch (scene) {
        case HBPreviewScene::MailboxRows:
            return {{true, textLine(row, 14, 8, 0.35 + vary)}};
        case HBPreviewScene::MessageRows:
            return {{true, textLine(row, 10, 8, 0.38 + vary)},
                    {false, textLine(row, 25, 7, 0.62 - vary)},
                    {false, textLine(row, 38, 6, 0.80 - vary)}};
        case HBPreviewScene::MessageHeader:
            return {{false, textLine(row, 16, 7, 0.45)},
                    {false, textLine(row, 31, 7, 0.35)},
                    {true, textLine(row, 50, 10, 0.70)},
                    {false, textLine(row, 67, 6, 0.25)}};
        case HBPreviewScene::Toolbar:
            break;
    }
    return {};
}

UIViewPtr plainPreviewView() {
    auto view = std::make_shared<UIView>(CGRectZero);
    view->setUserInteractionEnabled(false);
    return view;
}

}  // namespace

HBLabelPreviewView::HBLabelPreviewView(double width, HBPreviewDescription description)
    : UIView(CGRectMake(0, 0, width, heightFor(description))), _reader(std::move(description)) {
    setUserInteractionEnabled(false);
    setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    _state = _reader.read(HBPreferences::paneStore(), _live);
    addRowViews();
    show();
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

void HBLabelPreviewView::traitCollectionDidChange(const UITraitCollection& previous) {
    UIView::traitCollectionDidChange(previous);
    refresh();
}

void HBLabelPreviewView::refresh() {
    HBPreviewState state = _reader.read(HBPreferences::paneStore(), _live);
    if (state != _state) {
        _state = std::move(state);
        show();
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

void HBLabelPreviewView::addRowViews() {
    std::vector<std::vector<CGRect>> frames = rowFrames();
    const std::vector<HBPreviewPanel>& panels = _reader.description().panels;
    for (std::size_t p = 0; p < panels.size() && p < frames.size(); ++p) {
        std::vector<RowViews>& rows = _rows.emplace_back();
        for (std::size_t r = 0; r < frames[p].size(); ++r) {
            RowViews& views = rows.emplace_back();
            views.row = plainPreviewView();
            views.label = std::make_shared<HBPreviewLabelView>();
            addSubview(views.row);
            addSubview(views.label);
            for (std::size_t t = 0; t < sceneText(panels[p].scene, frames[p][r], r).size(); ++t) {
                views.texts.push_back(plainPreviewView());
                addSubview(views.texts.back());
            }
            views.count = plainPreviewView();
            addSubview(views.count);
        }
    }
}

void HBLabelPreviewView::layoutSubviews() {
    UIView::layoutSubviews();
    show();
}

// Each row, its label over it and under the text (as Mail tints a row behind its text), then
// the text and the unread count.
void HBLabelPreviewView::show() {
    const Palette& palette = paletteFor(_state.dark);
    setBackgroundColor(palette.backdrop);
    std::vector<std::vector<CGRect>> frames = rowFrames();
    for (std::size_t p = 0; p < _rows.size() && p < _state.panels.size(); ++p) {
        const HBPanelState& panel = _state.panels[p];
        for (std::size_t r = 0; r < _rows[p].size() && r < frames[p].size(); ++r) {
            const RowViews& views = _rows[p][r];
            CGRect row = frames[p][r];
            views.row->setFrame(row);
            views.row->setBackgroundColor(palette.row);
            std::optional<UIColor> color =
                r < panel.rowColors.size() && panel.labelsShown ? panel.rowColors[r] : std::nullopt;
            views.label->show(row, panel.label, color);
            std::vector<HBPreviewTextLine> lines = sceneText(panel.scene, row, r);
            for (std::size_t t = 0; t < lines.size() && t < views.texts.size(); ++t) {
                views.texts[t]->setFrame(lines[t].frame);
                views.texts[t]->setBackgroundColor(lines[t].strong ? palette.strongText
                                                                   : palette.text);
            }
            showCount(views, panel, row, color);
        }
    }
}

// The unread count: a pill at the right of a mailbox row, in the middle of the toolbar.
void HBLabelPreviewView::showCount(const RowViews& views, const HBPanelState& panel, CGRect row,
                                   const std::optional<UIColor>& color) const {
    bool mailbox = panel.scene == HBPreviewScene::MailboxRows;
    views.count->setHidden(!panel.countShown ||
                           (!mailbox && panel.scene != HBPreviewScene::Toolbar));
    double width = mailbox ? 26 : 90;
    double x = mailbox ? row.origin.x + row.size.width - kTextInset - width
                       : row.origin.x + (row.size.width - width) / 2;
    views.count->setFrame(CGRectMake(x, row.origin.y + (row.size.height - 14) / 2, width, 14));
    bool colored = mailbox && panel.countColored && color;
    views.count->setBackgroundColor(colored ? *color : paletteFor(_state.dark).count);
}
