// A simulator folder for the airport list's tests: Seattle-Tacoma (with an approach frequency),
// Boeing Field and the Seattle Class B in one file, Zurich (a Windows-1252 letter in its name)
// in another, an empty area, and an area whose one file is cut off inside its second airport.
#pragma once

#include <filesystem>

#include "support/scenery_writer.h"

namespace orv::testing {

inline void Write_Sample_Sim(const std::filesystem::path& sim) {
  namespace sw = scenery_writer;
  const double lat = 47.4489;
  const double lon = -122.3094;
  const std::vector<uint8_t> seattle =
      sw::Bgl_File()
          .Add(sw::Airport("KSEA")
                   .Reference(lat, lon)
                   .Name("Seattle-Tacoma Intl")
                   .Frequency(9, "119.2"))
          .Add(sw::Airport("KBFI").Reference(47.53, -122.302).Name("Boeing Fld"))
          .Add(sw::Airspace_Container().Add(sw::Airspace_Group()
                                                .Box(47.0, -122.9, 47.9, -121.7)
                                                .Name("SEATTLE CLASS B")
                                                .Center(lat, lon)
                                                .Circle(6, 0, 10000)))
          .Build()
          .bytes;
  const std::vector<uint8_t> zurich =
      sw::Bgl_File()
          .Add(sw::Airport("LSZH").Reference(47.4647, 8.5492).Name("Z\xFCrich"))
          .Build()
          .bytes;
  const sw::Built_File two =
      sw::Bgl_File()
          .Add(sw::Airport("KPAE").Reference(47.9, -122.28).Name("Paine"))
          .Add(sw::Airport("KAWO").Reference(48.16, -122.16).Name("Arlington"))
          .Build();
  std::vector<uint8_t> broken = two.bytes;
  broken.resize(static_cast<size_t>(two.layout.airports[1].detail + 6));

  sw::Sim_Folder folder(sim);
  folder.Magdec(sw::Magdec_File([](int, int) { return int16_t{0}; }));
  folder.Area({.title = "Seattle Area",
               .local = "Scenery\\Seattle",
               .files = {{"sea.bgl", seattle}, {"zurich.bgl", zurich}}});
  folder.Area({.title = "Empty Area", .local = "Scenery\\Empty"});
  folder.Area(
      {.title = "Damaged Area", .local = "Scenery\\Damaged", .files = {{"broken.bgl", broken}}});
  folder.Write();
}

}  // namespace orv::testing
