// What a model's materials became, as the importer tells the skinning editor, and the table's
// choice applied to the faces.
#include "Errors.h"
#include "ModelMaterials.h"

#include <gtest/gtest.h>

TEST(ModelMaterials, ReadsTheListingTheImporterWrites)
{
    const std::string text = "material\tstone wall\tC0A080\tmaps/wall.png\t2\t3\t17\n"
                             "material\t-\t-\t-\t1\t-\t5\n"
                             "faces 0 1 0 -1\n";
    const ModelMaterials list = ParseModelMaterials(text);
    ASSERT_EQ(list.materials.size(), 2u);
    EXPECT_EQ(list.materials[0].name, "stone wall");
    EXPECT_EQ(list.materials[0].colour, 0xC0A080u);
    EXPECT_EQ(list.materials[0].textureFile, "maps/wall.png");
    EXPECT_EQ(list.materials[0].faces, 2u);
    EXPECT_EQ(list.materials[0].texture, 3);
    EXPECT_EQ(list.materials[1].name, "");
    EXPECT_FALSE(list.materials[1].colour);
    EXPECT_FALSE(list.materials[1].texture);
    EXPECT_EQ(list.materials[1].flatColour, 5);
    EXPECT_EQ(list.faceMaterial, (std::vector<std::int32_t>{0, 1, 0, -1}));
    EXPECT_EQ(FormatModelMaterials(list), text);

    for (const char* broken : {"material\tx\n", "faces 0\n", "material\ta\tZZ\t-\t1\t-\t5\n"})
        EXPECT_THROW(ParseModelMaterials(broken), FormatError) << broken;
}

TEST(ModelMaterials, EachMaterialsFacesTakeTheSkinChosen)
{
    Object3D object;
    AllocateObject(object, 2, 3);
    for (Face& face : object.faces)
        face.mapping = 2; // laid by the importer from the model's coordinates: kept
    ModelMaterials list;
    list.materials = {{"a", {}, "", 2, {}, 9}, {"b", {}, "b.png", 1, 4, 11}};
    list.faceMaterial = {0, 1, -1, 0};
    ApplyMaterialSkins(object, list, {7, std::nullopt});
    const std::pair<std::uint16_t, std::uint16_t> expected[] = {
        {FaceTextured, 7}, {FacePlain, 11}, {FaceTextured, 0}, {FaceTextured, 7}};
    for (std::size_t f = 0; f < 4; ++f) {
        EXPECT_EQ(object.faces[f].faceType, expected[f].first) << f;
        EXPECT_EQ(object.faces[f].texture, expected[f].second) << f;
        EXPECT_EQ(object.faces[f].mapping, 2);
    }
}
