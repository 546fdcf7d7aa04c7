#include "cli/ResultFormat.h"

#include "cli/CsvFormat.h"
#include "cli/JsonFormat.h"
#include "cli/TableFormat.h"

std::unique_ptr<IResultFormat> MakeResultFormat(OutputFormat format)
{
    switch (format) {
    case OutputFormat::Json:
        return std::make_unique<CJsonFormat>();
    case OutputFormat::Csv:
        return std::make_unique<CCsvFormat>();
    case OutputFormat::Table:
        break;
    }
    return std::make_unique<CTableFormat>();
}
