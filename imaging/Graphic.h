// Common base of the picture classes: a graphic can take a copy of another
// graphic and write its own file form.
#pragma once

#include <string>

class TStream;

class TGraphic {
public:
    virtual ~TGraphic() = default;

    virtual const char* ClassName() const = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void SetWidth(int value) = 0;
    virtual void SetHeight(int value) = 0;

    // Copies the picture of source; classes refuse sources they cannot take.
    virtual void Assign(const TGraphic& source);
    // Writes the file form of the picture.
    virtual void SaveToStream(TStream& stream) const = 0;
    // Creates the file (emptying an existing one) and writes the file form.
    void SaveToFile(const std::string& fileName) const;

protected:
    TGraphic() = default;
    TGraphic(const TGraphic&) = default;
    TGraphic& operator=(const TGraphic&) = default;
};
