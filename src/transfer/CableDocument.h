// What the cable link needs of the open document and its view.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "model/ImageLayout.h"

namespace tavrin {

class CableDocument {
 public:
  virtual ~CableDocument() = default;
  virtual std::string SettingsPath() const = 0;
  virtual std::string SettingsTitle() const = 0;
  virtual bool IsModified() const = 0;
  virtual void SetModified(bool modified) = 0;
  virtual bool IsUntitled() const = 0;
  // The document's image, as a cable read fills it.
  virtual const SettingsImage& Image() const = 0;
  // Zero the document's image with the identification texts in place.
  virtual void InitImage() = 0;
  // Copies what fits below the image's end; false and nothing copied when offset is past it.
  virtual bool PutImageBytes(const uint8_t* data, std::size_t length, std::size_t offset) = 0;
  virtual void NewDocument() = 0;
  // The view reloads its working model from the document's image.
  virtual void RefreshFromDocument() = 0;
  virtual void UpdateTitle() = 0;
};

}  // namespace tavrin
