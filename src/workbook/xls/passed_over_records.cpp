#include "workbook/xls/passed_over_records.h"

#include <algorithm>
#include <array>

namespace kx::workbook::detail {
namespace {

constexpr std::string_view kCalculation = "calculation settings: cells print the results the file stores";
constexpr std::string_view kFormulaParts = "formula parts: cells print the results stored with them";
constexpr std::string_view kIndexes = "indexes and sizes that the reader works out for itself";
constexpr std::string_view kScreen = "how the workbook shows on screen, which printing does not follow";
constexpr std::string_view kProtection = "protection and sharing, which change nothing printed";
constexpr std::string_view kInterface = "the spreadsheet program's own interface, macros and links";
constexpr std::string_view kStyles = "named styles and their extensions: every cell carries its own format";
constexpr std::string_view kPivotsAndQueries = "pivot tables, scenarios and external data: their cells hold what prints";
constexpr std::string_view kFiltersAndValidation = "filters, sorting and data validation, which change nothing printed";
constexpr std::string_view kReadElsewhere = "read by the drawing or comment reader";
constexpr std::string_view kPrinterDriver = "the printer driver's own settings; the page set-up records say what printing needs";
constexpr std::string_view kPhonetic = "phonetic guides, which the print leaves out";
constexpr std::string_view kLaterVersions = "extensions of later program versions that an Excel 97-2003 print does not use";
constexpr std::string_view kChartRecords = "chart records, which only the chart reader reads";

struct PassedOver {
    uint16_t type;
    std::string_view reason;
};

// Sorted by type; kinds 0x0800 to 0x08FF and charts' 0x1000 to 0x10FF are ranges below.
constexpr std::array kPassedOver{
    PassedOver{0x000C, kCalculation},           // CALCCOUNT
    PassedOver{0x000D, kCalculation},           // CALCMODE
    PassedOver{0x000E, kCalculation},           // PRECISION
    PassedOver{0x000F, kCalculation},           // REFMODE
    PassedOver{0x0010, kCalculation},           // DELTA
    PassedOver{0x0011, kCalculation},           // ITERATION
    PassedOver{0x0012, kProtection},            // PROTECT
    PassedOver{0x0013, kProtection},            // PASSWORD
    PassedOver{0x0016, kFormulaParts},          // EXTERNCOUNT
    PassedOver{0x0019, kProtection},            // WINDOWPROTECT
    PassedOver{0x001D, kScreen},                // SELECTION
    PassedOver{0x0023, kFormulaParts},          // EXTERNNAME
    PassedOver{0x003D, kScreen},                // WINDOW1
    PassedOver{0x0040, kInterface},             // BACKUP
    PassedOver{0x0041, kScreen},                // PANE
    PassedOver{0x004D, kPrinterDriver},         // PLS
    PassedOver{0x0050, kPivotsAndQueries},      // DCON
    PassedOver{0x0051, kPivotsAndQueries},      // DCONREF
    PassedOver{0x0052, kPivotsAndQueries},      // DCONNAME
    PassedOver{0x0056, kIndexes},               // BUILTINFMTCOUNT of Excel 3.0 and 4.0
    PassedOver{0x0059, kFormulaParts},          // XCT
    PassedOver{0x005A, kFormulaParts},          // CRN
    PassedOver{0x005B, kProtection},            // FILESHARING
    PassedOver{0x005C, kProtection},            // WRITEACCESS
    PassedOver{0x005E, kCalculation},           // UNCALCED
    PassedOver{0x005F, kCalculation},           // SAVERECALC
    PassedOver{0x0063, kProtection},            // OBJPROTECT
    PassedOver{0x0080, kScreen},                // GUTS
    PassedOver{0x0082, kScreen},                // GRIDSET
    PassedOver{0x0086, kProtection},            // WRITEPROT
    PassedOver{0x008C, kInterface},             // COUNTRY
    PassedOver{0x008D, kScreen},                // HIDEOBJ
    PassedOver{0x0090, kFiltersAndValidation},  // SORT
    PassedOver{0x0094, kInterface},             // LHRECORD
    PassedOver{0x009B, kFiltersAndValidation},  // FILTERMODE
    PassedOver{0x009C, kInterface},             // FNGROUPCOUNT
    PassedOver{0x009D, kFiltersAndValidation},  // AUTOFILTERINFO
    PassedOver{0x009E, kFiltersAndValidation},  // AUTOFILTER
    PassedOver{0x00A0, kScreen},                // SCL
    PassedOver{0x00AB, kIndexes},               // GCW
    PassedOver{0x00AE, kPivotsAndQueries},      // SCENMAN
    PassedOver{0x00AF, kPivotsAndQueries},      // SCENARIO
    PassedOver{0x00B0, kPivotsAndQueries},      // SXVIEW
    PassedOver{0x00B1, kPivotsAndQueries},      // SXVD
    PassedOver{0x00B2, kPivotsAndQueries},      // SXVI
    PassedOver{0x00B4, kPivotsAndQueries},      // SXIVD
    PassedOver{0x00B5, kPivotsAndQueries},      // SXLI
    PassedOver{0x00B6, kPivotsAndQueries},      // SXPI
    PassedOver{0x00BF, kInterface},             // TOOLBARHDR
    PassedOver{0x00C0, kInterface},             // TOOLBAREND
    PassedOver{0x00C1, kInterface},             // MMS
    PassedOver{0x00C5, kPivotsAndQueries},      // SXDI
    PassedOver{0x00C6, kPivotsAndQueries},      // SXDB
    PassedOver{0x00CD, kPivotsAndQueries},      // SXSTRING
    PassedOver{0x00D3, kInterface},             // OBPROJ
    PassedOver{0x00D5, kPivotsAndQueries},      // SXIDSTM
    PassedOver{0x00D7, kIndexes},               // DBCELL
    PassedOver{0x00DA, kScreen},                // BOOKBOOL
    PassedOver{0x00DC, kPivotsAndQueries},      // PARAMQRY
    PassedOver{0x00DD, kProtection},            // SCENPROTECT
    PassedOver{0x00DE, kInterface},             // OLESIZE
    PassedOver{0x00E1, kInterface},             // INTERFACEHDR
    PassedOver{0x00E2, kInterface},             // INTERFACEEND
    PassedOver{0x00E3, kPivotsAndQueries},      // SXVS
    PassedOver{0x00EC, kReadElsewhere},         // MSODRAWING
    PassedOver{0x00ED, kScreen},                // MSODRAWINGSELECTION
    PassedOver{0x00EF, kPhonetic},              // PHONETICINFO
    PassedOver{0x00F1, kPivotsAndQueries},      // SXEX
    PassedOver{0x00FF, kIndexes},               // EXTSST
    PassedOver{0x0100, kPivotsAndQueries},      // SXVDEX
    PassedOver{0x013D, kScreen},                // TABID
    PassedOver{0x015F, kFormulaParts},          // LABELRANGES
    PassedOver{0x0160, kCalculation},           // USESELFS
    PassedOver{0x0161, kInterface},             // DSF
    PassedOver{0x01AD, kPivotsAndQueries},      // QSI
    PassedOver{0x01AF, kProtection},            // PROT4REV
    PassedOver{0x01B2, kFiltersAndValidation},  // DVAL
    PassedOver{0x01B7, kPivotsAndQueries},      // REFRESHALL
    PassedOver{0x01BA, kInterface},             // CODENAME
    PassedOver{0x01BC, kProtection},            // PROT4REVPASS
    PassedOver{0x01BD, kInterface},             // OBNOMACROS
    PassedOver{0x01BE, kFiltersAndValidation},  // DV
    PassedOver{0x01C0, kInterface},             // EXCEL9FILE
    PassedOver{0x01C1, kCalculation},           // RECALCID
    PassedOver{0x01C2, kInterface},             // ENTEXU2
    PassedOver{0x0200, kIndexes},               // DIMENSIONS
    PassedOver{0x020B, kIndexes},               // INDEX
    PassedOver{0x0221, kFormulaParts},          // ARRAY
    PassedOver{0x0236, kFormulaParts},          // TABLE
    PassedOver{0x0293, kStyles},                // STYLE
    PassedOver{0x04BC, kFormulaParts},          // SHRFMLA
    PassedOver{0x087C, kStyles},                // XFCRC
    PassedOver{0x087D, kStyles},                // XFEXT
    PassedOver{0x088E, kStyles},                // TABLESTYLES
    PassedOver{0x0892, kStyles},                // STYLEEXT
};

static_assert(std::ranges::is_sorted(kPassedOver, {}, &PassedOver::type));

}  // namespace

std::optional<std::string_view> whyPassedOver(uint16_t type)
{
    const auto found = std::ranges::lower_bound(kPassedOver, type, {}, &PassedOver::type);
    if (found != kPassedOver.end() && found->type == type)
        return found->reason;
    if (type >= 0x0800 && type <= 0x08FF)
        return kLaterVersions;
    if (type >= 0x1000 && type <= 0x10FF)
        return kChartRecords;
    return std::nullopt;
}

void passOver(const Record& record, LoadWarnings& warnings)
{
    if (!whyPassedOver(record.type))
        warnings.add(record.type, record.offset, "a record of a kind this reader does not know, passed over");
}

}  // namespace kx::workbook::detail
