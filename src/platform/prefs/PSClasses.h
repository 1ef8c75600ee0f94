#pragma once

#include <string>

#include "platform/foundation/ClassRegistry.h"
#include "platform/prefs/PSSpecifier.h"

class PSViewController;
class PSTableCell;

// Page classes by name: what a row's "detail" names. A factory makes a fresh page.
using PSControllerClasses = ClassRegistry<PSViewController>;

// Classes register from a static in their source file:
//     static const bool registered = PSControllerClasses::registerClass("Name", factory);

// Cell classes by name: what a row's "cellClass" names. A factory takes the table's cell
// style (as the toolkit's UITableViewCellStyle number), the reuse identifier and the row.
using PSCellClasses = ClassRegistry<PSTableCell, long, const std::string&, PSSpecifierPtr>;
