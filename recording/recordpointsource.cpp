#include "recordpointsource.h"

#include "chartquantity.h"
#include "datamodel.h"
#include "dmmdata.h"

RecordPointSource::RecordPointSource(const DataModel *model, const ChartQuantity *quantity)
    : model(model), quantity(quantity)
{
}

QDateTime RecordPointSource::time(int index) const
{
    if (index < 0 || index >= model->rowCount())
        return QDateTime();
    return model->record(index)->dateTime();
}

QString RecordPointSource::label(int index) const
{
    if (index < 0 || index >= model->rowCount())
        return QString();
    return quantity->label(*model->record(index));
}
