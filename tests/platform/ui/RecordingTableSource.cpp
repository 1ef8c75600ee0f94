#include "platform/ui/RecordingTableSource.h"

std::vector<std::string> RecordingTableSource::calls(
    std::initializer_list<std::string> prefixes) const {
    std::vector<std::string> chosen;
    for (const auto& call : log) {
        for (const auto& prefix : prefixes) {
            if (call.rfind(prefix, 0) == 0) {
                chosen.push_back(call);
                break;
            }
        }
    }
    return chosen;
}

void RecordingTableSource::record(const std::string& call, const NSIndexPath& indexPath) {
    log.push_back(call + " " + indexPath.description());
}

long RecordingTableSource::numberOfSectionsInTableView(UITableView*) {
    log.push_back("sections");
    return long(sections.size());
}

long RecordingTableSource::numberOfRowsInSection(UITableView*, long section) {
    log.push_back("rows " + std::to_string(section));
    return long(sections.at(std::size_t(section)).rows.size());
}

UITableViewCellPtr RecordingTableSource::cellForRowAtIndexPath(UITableView* tableView,
                                                               const NSIndexPath& indexPath) {
    record("cell", indexPath);
    UITableViewCellPtr cell = tableView->dequeueReusableCellWithIdentifier("Cell");
    if (!cell) {
        cell = std::make_shared<UITableViewCell>(UITableViewCellStyleDefault, "Cell");
    }
    const auto& rows = sections.at(std::size_t(indexPath.section())).rows;
    cell->textLabel()->setText(rows.at(std::size_t(indexPath.row())));
    return cell;
}

std::optional<std::string> RecordingTableSource::titleForHeaderInSection(UITableView*,
                                                                         long section) {
    log.push_back("title " + std::to_string(section));
    return sections.at(std::size_t(section)).header;
}

bool RecordingTableSource::canEditRowAtIndexPath(UITableView*, const NSIndexPath& indexPath) {
    return !fixedRows.count(indexPath.description());
}

bool RecordingTableSource::canMoveRowAtIndexPath(UITableView* tableView,
                                                 const NSIndexPath& indexPath) {
    return UITableViewDataSource::canMoveRowAtIndexPath(tableView, indexPath) &&
           !fixedRows.count(indexPath.description());
}

void RecordingTableSource::commitEditingStyle(UITableView*, UITableViewCellEditingStyle style,
                                              const NSIndexPath& indexPath) {
    record("commit " + std::to_string(style), indexPath);
}

void RecordingTableSource::moveRowAtIndexPath(UITableView* tableView, const NSIndexPath& from,
                                              const NSIndexPath& to) {
    log.push_back("move " + from.description() + " " + to.description());
    if (!reloadOnMove) {
        return;
    }
    auto& source = sections.at(std::size_t(from.section())).rows;
    std::string moved = source.at(std::size_t(from.row()));
    source.erase(source.begin() + from.row());
    auto& destination = sections.at(std::size_t(to.section())).rows;
    destination.insert(destination.begin() + to.row(), moved);
    tableView->reloadData();
}

double RecordingTableSource::heightForRowAtIndexPath(UITableView* tableView,
                                                     const NSIndexPath& indexPath) {
    record("height", indexPath);
    return UITableViewDelegate::heightForRowAtIndexPath(tableView, indexPath);
}

double RecordingTableSource::heightForHeaderInSection(UITableView*, long section) {
    log.push_back("headerHeight " + std::to_string(section));
    return UITableViewAutomaticDimension;
}

UIViewPtr RecordingTableSource::viewForHeaderInSection(UITableView*, long section) {
    return headerView ? headerView(section) : nullptr;
}

void RecordingTableSource::willDisplayHeaderView(UITableView*, UIView*, long section) {
    log.push_back("willDisplayHeader " + std::to_string(section));
}

void RecordingTableSource::willDisplayCell(UITableView*, UITableViewCell*,
                                           const NSIndexPath& indexPath) {
    record("willDisplay", indexPath);
}

std::optional<NSIndexPath> RecordingTableSource::willSelectRowAtIndexPath(
    UITableView*, const NSIndexPath& indexPath) {
    record("willSelect", indexPath);
    if (refusedRows.count(indexPath.description())) {
        return std::nullopt;
    }
    return redirectSelectionTo ? *redirectSelectionTo : indexPath;
}

void RecordingTableSource::didSelectRowAtIndexPath(UITableView*, const NSIndexPath& indexPath) {
    record("didSelect", indexPath);
}

std::optional<NSIndexPath> RecordingTableSource::willDeselectRowAtIndexPath(
    UITableView*, const NSIndexPath& indexPath) {
    record("willDeselect", indexPath);
    return indexPath;
}

void RecordingTableSource::didDeselectRowAtIndexPath(UITableView*, const NSIndexPath& indexPath) {
    record("didDeselect", indexPath);
}

UITableViewCellEditingStyle RecordingTableSource::editingStyleForRowAtIndexPath(
    UITableView*, const NSIndexPath&) {
    return editingStyle;
}
