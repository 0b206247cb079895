#include "weapon_shapes.h"

namespace gen {

namespace {

// A classic layout: receiver, barrel, optional stock, magazine, sight.
struct Layout {
    double receiver_back, receiver_front, height;
    double barrel;
    double stock;          // 0: none
    double magazine;       // length below the receiver
    double magazine_z;     // front of the magazine
    double magazine_rake;  // forward lean of a curved magazine, per unit of length
    double scope;          // 0: iron sights; else the scope's length
};

WeaponShape Build(const std::string& file, const std::string& name, const Layout& l, Rgb furniture, Rgb accent) {
    WeaponShape w{file, name, {}, {}, furniture, accent};
    const double h = l.height, mid = h * 0.55;
    w.blocks.push_back({{-0.8, -5.5, -1.6}, {0.8, 0.2, 0.6}, kFurniture});                // grip
    w.blocks.push_back({{-1.1, 0, l.receiver_back}, {1.1, h, l.receiver_front}, kDark});  // receiver
    w.blocks.push_back(
        {{-0.45, mid - 0.45, l.receiver_front}, {0.45, mid + 0.45, l.receiver_front + l.barrel}, kLight});
    w.blocks.push_back({{-0.9, -1.2, -3.5}, {0.9, 0, -0.8}, kDark});  // trigger guard
    if (l.stock > 0)
        w.blocks.push_back({{-0.9, -2.2, l.receiver_back - l.stock}, {0.9, h * 0.8, l.receiver_back}, kFurniture});
    if (l.magazine > 0) {
        // A curved magazine as three steps leaning forward.
        const double step = l.magazine / 3;
        for (int i = 0; i < 3; ++i) {
            const double z = l.magazine_z + l.magazine_rake * step * i;
            w.blocks.push_back({{-0.7, -step * (i + 1), z - 2.2}, {0.7, -step * i + 0.1, z}, kAccent});
        }
    }
    if (l.scope > 0) {
        const double z0 = (l.receiver_back + l.receiver_front) / 2 - l.scope / 2;
        w.blocks.push_back({{-0.9, h + 0.6, z0}, {0.9, h + 2.4, z0 + l.scope}, kDark});
        w.blocks.push_back({{-0.4, h, z0 + l.scope * 0.3}, {0.4, h + 0.6, z0 + l.scope * 0.7}, kLight});
        w.blocks.push_back({{-0.7, h + 0.8, z0 + l.scope}, {0.7, h + 2.2, z0 + l.scope + 0.2}, kAccent});  // lens
    } else {
        w.blocks.push_back({{-0.25, h, l.receiver_front - 1}, {0.25, h + 0.9, l.receiver_front - 0.4}, kLight});
    }
    w.muzzle = {0, mid, l.receiver_front + l.barrel + 0.6};
    return w;
}

void AddBlock(WeaponShape& w, Vec3 low, Vec3 high, Band band) { w.blocks.push_back({low, high, band}); }

std::vector<WeaponShape> MakeShapes() {
    const Rgb black{40, 40, 42}, wood{120, 72, 36}, olive{78, 88, 52}, sand{170, 150, 110}, steel{110, 115, 120};
    const Rgb orange{200, 120, 40}, clear{150, 160, 150};
    std::vector<WeaponShape> list;
    // Index order of the catalogue.
    WeaponShape mac10 = Build("onehanded_mac10.QC", "mac10", {-2.5, 5, 3.8, 1.8, 0, 0, 0, 0, 0}, black, steel);
    AddBlock(mac10, {-0.75, -9, -1.5}, {0.75, -5.5, 0.5}, kAccent);  // magazine out of the grip
    list.push_back(mac10);
    list.push_back(Build("carbine_ump45.QC", "ump45", {-3, 8, 3.2, 3.5, 7, 6, 5, 0, 0}, black, black));
    WeaponShape aug = Build("carbine_aug.QC", "aug", {-10, 6, 3.6, 7, 0, 5, -3, 0.1, 6}, olive, black);
    AddBlock(aug, {-1, -2, 2}, {1, 0, 6}, kFurniture);  // fore grip
    list.push_back(aug);
    WeaponShape p90 = Build("carbine_p90.QC", "p90", {-10, 6, 4.6, 2.5, 0, 0, 0, 0, 0}, sand, black);
    AddBlock(p90, {-1, 4.6, -8}, {1, 5.6, 5}, kAccent);  // magazine on top
    list.push_back(p90);
    list.push_back(Build("mp5_mp5.QC", "mp5", {-3, 9, 3.1, 3, 7.5, 6.5, 6, 0.25, 0}, black, black));
    list.push_back(Build("mp5_ak47.QC", "ak47", {-3, 10, 3.3, 9, 9, 8, 6, 0.45, 0}, wood, orange));
    list.push_back(Build("rifle_m4a1.QC", "m4a1", {-3, 10, 3.4, 9, 8, 6.5, 5.5, 0.1, 5}, black, black));
    list.push_back(Build("rifle_sg550.QC", "sg550", {-3, 12, 3.4, 11, 9, 6.5, 6, 0.15, 7}, olive, clear));
    list.push_back(Build("rifle_sg552.QC", "sg552", {-3, 9, 3.4, 6, 8, 6.5, 6, 0.15, 5}, black, clear));
    WeaponShape m249 = Build("m249_m249.QC", "m249", {-4, 11, 5, 12, 8, 0, 0, 0, 0}, black, olive);
    AddBlock(m249, {0.8, -4.5, 0}, {3.2, 0.5, 5}, kAccent);   // ammunition box
    AddBlock(m249, {-1.6, -7, 19}, {-1, 2.6, 19.6}, kLight);  // bipod legs
    AddBlock(m249, {1, -7, 19}, {1.6, 2.6, 19.6}, kLight);
    list.push_back(m249);
    WeaponShape m3 = Build("shotgun_m3.QC", "m3", {-3, 8, 3.4, 14, 9, 0, 0, 0, 0}, wood, black);
    AddBlock(m3, {-0.55, 0.4, 8}, {0.55, 1.3, 20}, kDark);   // tube magazine
    AddBlock(m3, {-1, -0.2, 10}, {1, 1.8, 15}, kFurniture);  // pump
    list.push_back(m3);
    WeaponShape awp = Build("rifle_awp.QC", "awp", {-4, 12, 3.6, 18, 11, 5, 5, 0, 9}, olive, {60, 90, 140});
    AddBlock(awp, {1.1, 2, 2}, {2.6, 2.6, 2.6}, kLight);  // bolt handle
    list.push_back(awp);
    WeaponShape xm1014 = Build("m249_xm1014.QC", "xm1014", {-3, 9, 3.6, 13, 9, 0, 0, 0, 0}, black, black);
    AddBlock(xm1014, {-0.55, 0.5, 9}, {0.55, 1.4, 21}, kDark);  // tube magazine
    AddBlock(xm1014, {-1, -0.3, 9}, {1, 1.9, 13}, kFurniture);  // fore-end
    list.push_back(xm1014);
    return list;
}

}  // namespace

const std::vector<WeaponShape>& WeaponShapes() {
    static const std::vector<WeaponShape> shapes = MakeShapes();
    return shapes;
}

}  // namespace gen
