#include "slots.h"

namespace lex {

const std::array<std::array<const char*, kSlotCount>, 6> SlotFileNames = {{
    {{"ac_a.slo", "ca_c.slo", "nc_n.slo", "cn_c.slo",
      "j03_o1.slo", "j03_o2.slo", "j04_o1.slo", "j04_o2.slo", "j05_o1.slo", "j05_o2.slo",
      "j06_o1.slo", "j06_o2.slo", "j07_o1.slo", "j07_o2.slo", "j08_o1.slo", "j08_o2.slo",
      "j09_o1.slo", "j09_o2.slo", "j10_o1.slo", "j10_o2.slo"}},
    {{"ac_c.slo", "ca_a.slo", "nc_c.slo", "cn_n.slo",
      "j03_p1.slo", "j03_p2.slo", "j04_p1.slo", "j04_p2.slo", "j05_p1.slo", "j05_p2.slo",
      "j06_p1.slo", "j06_p2.slo", "j07_p1.slo", "j07_p2.slo", "j08_p1.slo", "j08_p2.slo",
      "j09_p1.slo", "j09_p2.slo", "j10_p1.slo", "j10_p2.slo"}},
    {{"ac.idx", "ca.idx", "nc.idx", "cn.idx",
      "j03_1.idx", "j03_2.idx", "j04_1.idx", "j04_2.idx", "j05_1.idx", "j05_2.idx",
      "j06_1.idx", "j06_2.idx", "j07_1.idx", "j07_2.idx", "j08_1.idx", "j08_2.idx",
      "j09_1.idx", "j09_2.idx", "j10_1.idx", "j10_2.idx"}},
    {{"ac_adi.slo", "ca_cdi.slo", "nc_ndi.slo", "cn_cdi.slo",
      "j03_o1di.slo", "j03_o2di.slo", "j04_o1di.slo", "j04_o2di.slo", "j05_o1di.slo",
      "j05_o2di.slo", "j06_o1di.slo", "j06_o2di.slo", "j07_o1di.slo", "j07_o2di.slo",
      "j08_o1di.slo", "j08_o2di.slo", "j09_o1di.slo", "j09_o2di.slo", "j10_o1di.slo",
      "j10_o2di.slo"}},
    {{"ac_ad.slo", "ca_cd.slo", "nc_nd.slo", "cn_cd.slo",
      "j03_o1d.slo", "j03_o2d.slo", "j04_o1d.slo", "j04_o2d.slo", "j05_o1d.slo", "j05_o2d.slo",
      "j06_o1d.slo", "j06_o2d.slo", "j07_o1d.slo", "j07_o2d.slo", "j08_o1d.slo", "j08_o2d.slo",
      "j09_o1d.slo", "j09_o2d.slo", "j10_o1d.slo", "j10_o2d.slo"}},
    {{"ac_cd.slo", "ca_ad.slo", "nc_cd.slo", "cn_nd.slo",
      "j03_p1d.slo", "j03_p2d.slo", "j04_p1d.slo", "j04_p2d.slo", "j05_p1d.slo", "j05_p2d.slo",
      "j06_p1d.slo", "j06_p2d.slo", "j07_p1d.slo", "j07_p2d.slo", "j08_p1d.slo", "j08_p2d.slo",
      "j09_p1d.slo", "j09_p2d.slo", "j10_p1d.slo", "j10_p2d.slo"}},
}};

int DefaultSortType(int slot) {
    static const int kFixed[6] = {0, 2, 3, 4, 5, 6};
    const int pair = slot / 2, direction = slot % 2;
    if (direction == 1) return 1;
    if (pair >= 0 && pair < 6) return kFixed[pair];
    return 0;
}

namespace {
std::string WithSeparator(const std::string& folder) {
    if (folder.empty()) return folder;
    char last = folder.back();
    if (last == '\\' || last == '/') return folder;
    return folder + (folder.find('\\') != std::string::npos ? '\\' : '/');
}
}  // namespace

void FillSlotPaths(DictionarySettings& settings, const std::string& cdFolder,
                   const std::string& diskFolder) {
    const std::string cd = WithSeparator(cdFolder), disk = WithSeparator(diskFolder);
    for (int s = 0; s < kSlotCount; ++s) {
        settings.CdWordsPaths[s] = cd + SlotFileNames[kGroupCdWords][s];
        settings.CdTranslationsPaths[s] = cd + SlotFileNames[kGroupCdTranslations][s];
        settings.KeyIndexPaths[s] = disk + SlotFileNames[kGroupKeyIndex][s];
        settings.NodePaths[s] = disk + SlotFileNames[kGroupNodes][s];
        settings.UserWordsPaths[s] = disk + SlotFileNames[kGroupUserWords][s];
        settings.UserTranslationsPaths[s] = disk + SlotFileNames[kGroupUserTranslations][s];
    }
}

}  // namespace lex
