#pragma once
// What the skinning editor does around the renderer, kept apart from its window so that the form
// and the command-line tool draw exactly the same frames: the start object, the stand-ins used
// until a bank is loaded, the bank load with its colour set-up, and the frame it paints.
#include "FaceSelection.h"
#include "Object3D.h"
#include "RenderContext.h"
#include "Renderer.h"

#include <cstdint>
#include <string>

// The editor's start object: allocated for last indices 150000 and 50000, then one plain
// triangle (0, 0, 0), (1, 1, 1), (2, 0, 1) of colour 0.
void MakeStartObject(Object3D& object);

// Until a bank is loaded: image slot 0 a zero-filled block, texture 0 = (0, 0, 0), lastTexture 0.
void SetBankPlaceholders(SkinnerBank& bank);

// The outline colours, nearest to white and to black in the bank palette.
struct HighlightColours {
    std::uint8_t white = 0;
    std::uint8_t black = 0;
};

// What a bank load gives the editor: the outline colours, and why the blend tables could not be
// written to their cache, if so (the tables are good all the same; the user is told).
struct RenderBankLoaded {
    HighlightColours highlight;
    std::string cacheWriteError;
    int imageCount = 0;   // image lines the bank lists
    int textureCount = 0; // texture lines: none, and every face shows texture 0's stand-in
};

// The bank load: the bank and its blend tables, the shade table with fog (0, 0, 0), palette
// entry 0 shown as purple (128, 0, 128) from then on, and the outline colours. Throws like
// LoadSkinnerBank, leaving the bank as it was.
RenderBankLoaded LoadRenderBank(const std::string& bankPath, RenderContext& context);

// Faces that name a texture the bank does not have (textured, keyed and virtual faces whose
// number is beyond the bank's last texture), and the highest number they name.
struct TexturesBeyondBank {
    std::size_t faces = 0;
    std::int32_t highest = -1;
};
TexturesBeyondBank FindTexturesBeyondBank(const Object3D& object, std::int32_t lastTexture);

// The view the user turns with the mouse; angles in AngleUnits.
struct EditorView {
    std::int32_t yaw = 0;
    std::int32_t pitch = 0;
    std::int32_t roll = 0;
    std::int32_t distance = 300;
    std::int32_t height = 0; // how far the object is raised
    std::int32_t across = 0; // how far it is moved to the right
};

// The distance and height bar at which the whole object shows, unturned, in the context's view: its
// middle height brought to the eye's (as far as the height bar goes, -512 to 512), and the sphere
// round that middle that holds every point inside nine tenths of the view. The start view suits
// objects of about 300 units round their origin; imported ones are 1,000 units standing on it.
struct ObjectFit {
    std::int32_t distance = 300;
    std::int32_t height = 0;
};
ObjectFit FitObjectInView(const Object3D& object, const RenderContext& context);

// The view's distance, height and across at which the points of `faces` (every face when null),
// turned by the view's angles, show round the view's middle within nine tenths of it.
EditorView FrameInView(const Object3D& object, const FaceFlags* faces, const EditorView& view,
                       const RenderContext& context);

// The view zoomed by `factor` (below 1 nearer) toward pixel (x, y) of the view: what lies under
// that pixel at any depth stays under it. The distance stays 20 or more.
EditorView ZoomToward(const EditorView& view, double factor, int x, int y, const RenderContext& context);


// One frame: clear to colour 0, the camera at the origin, one light of radius 100000 at the
// object, the object `view.distance` away, `view.height` up and `view.across` to the right,
// turned by the view's angles.
// Drawn with DrawTriangle unless told otherwise (the benchmarks pass the plain rasteriser).
void DrawEditorFrame(RenderContext& context, const Object3D& object, const EditorView& view,
                     TriangleDrawer draw = nullptr);

// The blinking two-pixel outline of face `face` in the last frame (its last triangle), drawn in
// `highlightColour` after switching it between white and black. False when the frame holds no
// triangle of that face (the colour then stays).
bool OutlineFace(RenderContext& context, std::int32_t face, const HighlightColours& colours,
                 std::uint8_t& highlightColour);
