#include "imaging/Graphic.h"

#include "core/Exception.h"
#include "core/Stream.h"

void TGraphic::Assign(const TGraphic& source)
{
    throw EConvertError(std::string("Cannot assign a ") + source.ClassName() + " to a " + ClassName());
}

void TGraphic::SaveToFile(const std::string& fileName) const
{
    TFileStream stream(fileName);
    SaveToStream(stream);
}
