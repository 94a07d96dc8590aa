#include "framework/printersetup.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPageLayout>
#include <QPrinter>

namespace {

const QLatin1String kPrinter("printer");
const QLatin1String kPageSize("pageSize");
const QLatin1String kSizeName("sizeName");
const QLatin1String kWidth("width");
const QLatin1String kHeight("height");
const QLatin1String kSizeUnits("sizeUnits");
const QLatin1String kOrientation("orientation");
const QLatin1String kMargins("margins");
const QLatin1String kMarginUnits("marginUnits");

template <class Enum> bool toEnum(const QJsonValue &value, Enum low, Enum high, Enum &out)
{
    if (!value.isDouble())
        return false;
    const int number = value.toInt(-1);
    if (number < int(low) || number > int(high))
        return false;
    out = Enum(number);
    return true;
}

} // namespace

QString printerSetupString(const QPrinter &printer)
{
    const QPageLayout layout = printer.pageLayout();
    const QPageSize size = layout.pageSize();
    const QMarginsF margins = layout.margins();
    QJsonObject setup{
        {kPrinter, printer.printerName()},
        {kPageSize, int(size.id())},
        {kOrientation, int(layout.orientation())},
        {kMargins, QJsonArray{margins.left(), margins.top(), margins.right(), margins.bottom()}},
        {kMarginUnits, int(layout.units())},
    };
    if (size.id() == QPageSize::Custom) {
        const QSizeF custom = size.definitionSize();
        setup.insert(kSizeName, size.name());
        setup.insert(kWidth, custom.width());
        setup.insert(kHeight, custom.height());
        setup.insert(kSizeUnits, int(size.definitionUnits()));
    }
    return QString::fromUtf8(QJsonDocument(setup).toJson(QJsonDocument::Compact));
}

bool setPrinterSetupString(QPrinter &printer, const QString &setup)
{
    const QJsonObject object = QJsonDocument::fromJson(setup.toUtf8()).object();
    QPageSize::PageSizeId id = QPageSize::A4;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QPageLayout::Unit marginUnits = QPageLayout::Millimeter;
    const QJsonArray margins = object.value(kMargins).toArray();
    if (!object.value(kPrinter).isString() ||
        !toEnum(object.value(kPageSize), QPageSize::PageSizeId(0), QPageSize::LastPageSize, id) ||
        !toEnum(object.value(kOrientation), QPageLayout::Portrait, QPageLayout::Landscape,
                orientation) ||
        !toEnum(object.value(kMarginUnits), QPageLayout::Millimeter, QPageLayout::Cicero,
                marginUnits) ||
        margins.size() != 4)
        return false;
    QPageSize size(id);
    if (id == QPageSize::Custom) {
        QPageSize::Unit sizeUnits = QPageSize::Millimeter;
        if (!toEnum(object.value(kSizeUnits), QPageSize::Millimeter, QPageSize::Cicero, sizeUnits))
            return false;
        size = QPageSize(QSizeF(object.value(kWidth).toDouble(), object.value(kHeight).toDouble()),
                         sizeUnits, object.value(kSizeName).toString(), QPageSize::ExactMatch);
    }
    if (!size.isValid())
        return false;

    // The printer first: choosing one resets the page to that printer's defaults.
    const QString name = object.value(kPrinter).toString();
    if (!name.isEmpty())
        printer.setPrinterName(name);
    printer.setPageSize(size);
    printer.setPageOrientation(orientation);
    printer.setPageMargins(QMarginsF(margins.at(0).toDouble(), margins.at(1).toDouble(),
                                     margins.at(2).toDouble(), margins.at(3).toDouble()),
                           marginUnits);
    return true;
}
