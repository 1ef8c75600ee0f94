#include "platform/ui/UITableViewSectionLoader.h"

#include <algorithm>

#include "platform/ui/UITableView.h"
#include "platform/ui/UITableViewHeaderFooterView.h"

namespace {

constexpr double titledHeaderHeight = 28;
constexpr double groupedGapHeight = 18;
// A titled footer's text sits this far below the rows and above the next section.
constexpr double footerTextGap = 6;
// The text of a header or footer view is inset this far from each side of the section.
constexpr double sectionTextInset = 16;

}  // namespace

LoadedTableSection UITableViewSectionLoader::load(long section, long rows) {
    LoadedTableSection loaded;
    loadHeader(loaded, section);
    loaded.rows.reserve(std::size_t(rows));
    for (long row = 0; row < rows; ++row) {
        NSIndexPath path = NSIndexPath::indexPathForRow(row, section);
        loaded.rows.push_back({path, 0, rowHeightAt(path), false, nullptr});
    }
    loadFooter(loaded, section);
    return loaded;
}

// The delegate's view, else a header view showing the title; the height as the delegate
// asks, else the table's section height when there is something to show.
void UITableViewSectionLoader::loadHeader(LoadedTableSection& loaded, long section) {
    UITableViewDelegate* delegate = table_.delegate();
    loaded.headerTitle = table_.dataSource()->titleForHeaderInSection(&table_, section);
    loaded.headerView =
        viewShowing(delegate ? delegate->viewForHeaderInSection(&table_, section) : nullptr,
                    loaded.headerTitle, false);
    double asked = delegate ? delegate->heightForHeaderInSection(&table_, section)
                            : UITableViewAutomaticDimension;
    loaded.headerHeight =
        resolvedHeaderHeight(asked, loaded.headerView != nullptr, table_.sectionHeaderHeight());
    place(loaded.headerView, loaded.headerHeight, [&](UITableViewDelegate& told) {
        told.willDisplayHeaderView(&table_, loaded.headerView.get(), section);
    });
}

// As a header, but a title wraps, and the footer grows to hold it.
void UITableViewSectionLoader::loadFooter(LoadedTableSection& loaded, long section) {
    UITableViewDelegate* delegate = table_.delegate();
    loaded.footerTitle = table_.dataSource()->titleForFooterInSection(&table_, section);
    loaded.footerView =
        viewShowing(delegate ? delegate->viewForFooterInSection(&table_, section) : nullptr,
                    loaded.footerTitle, true);
    double asked = delegate ? delegate->heightForFooterInSection(&table_, section)
                            : UITableViewAutomaticDimension;
    double preset = table_.sectionFooterHeight();
    loaded.footerHeight = resolvedHeaderHeight(asked, loaded.footerView != nullptr, preset);
    auto* titled = dynamic_cast<UITableViewHeaderFooterView*>(loaded.footerView.get());
    if (asked < 0 && preset < 0 && titled && loaded.footerTitle) {
        loaded.footerHeight = std::max(loaded.footerHeight, titledFooterHeight(*titled));
    }
    place(loaded.footerView, loaded.footerHeight, [&](UITableViewDelegate& told) {
        told.willDisplayFooterView(&table_, loaded.footerView.get(), section);
    });
}

UIViewPtr UITableViewSectionLoader::viewShowing(UIViewPtr own,
                                                const std::optional<std::string>& title,
                                                bool wraps) {
    if (own || !title) {
        return own;
    }
    auto titled = std::make_shared<UITableViewHeaderFooterView>();
    titled->textLabel()->setText(*title);
    if (wraps) {
        titled->textLabel()->setNumberOfLines(0);
    }
    return titled;
}

// A section view becomes the table's subview; the delegate is told of one that shows.
void UITableViewSectionLoader::place(const UIViewPtr& view, double height,
                                     const std::function<void(UITableViewDelegate&)>& tell) {
    if (!view) {
        return;
    }
    table_.addSubview(view);
    if (UITableViewDelegate* delegate = table_.delegate(); delegate && height > 0) {
        tell(*delegate);
    }
}

// A footer title wraps at the width the section leaves its text, and the footer grows to hold
// every line with a gap above and below.
double UITableViewSectionLoader::titledFooterHeight(
    const UITableViewHeaderFooterView& footer) const {
    double width = table_.bounds().size.width - 2 * sectionTextInset;
    if (table_.style() == UITableViewStyleInsetGrouped) {
        width -= 2 * sectionTextInset;
    }
    CGSize text = footer.textLabel()->sizeThatFits(CGSizeMake(std::max(1.0, width), 0));
    return text.height + 2 * footerTextGap;
}

double UITableViewSectionLoader::resolvedHeaderHeight(double asked, bool hasContent,
                                                      double preset) const {
    if (asked >= 0) {
        return asked;
    }
    if (!hasContent) {
        return table_.style() == UITableViewStylePlain ? 0 : groupedGapHeight;
    }
    return preset >= 0 ? preset : titledHeaderHeight;
}

double UITableViewSectionLoader::rowHeightAt(const NSIndexPath& indexPath) {
    UITableViewDelegate* delegate = table_.delegate();
    double height = table_.rowHeight();
    double asked = delegate ? delegate->heightForRowAtIndexPath(&table_, indexPath) : height;
    return asked >= 0 ? asked : std::max(0.0, height);
}
