// BuildRegions: the window outline of each shape, its corner cuts, slant widening and the face clip.
#include "buttons/Shapes.h"

#include <cstdint>
#include <utility>

#include "buttons/Colors.h"
#include "buttons/FaceSize.h"
#include "gdi/Dc.h"
#include "gdi/Objects.h"
#include "gdi/Region.h"

namespace buttons {
namespace {

constexpr int MinimumFlatTop = 5;  // a slant shape keeps at least this much of its top edge

gdi::OwnedRgn CreateShapeRegion(const RegionPlan& plan) {
    switch (plan.kind) {
        case RegionPlan::Kind::Rectangle:
            return gdi::OwnedRgn(gdi::CreateRectRgn(plan.box.left, plan.box.top, plan.box.right, plan.box.bottom));
        case RegionPlan::Kind::Polygon:
            return gdi::OwnedRgn(gdi::CreatePolygonRgn(plan.polygon.data(), 4, gdi::WINDING));
        case RegionPlan::Kind::Ellipse:
            return gdi::OwnedRgn(
                gdi::CreateEllipticRgn(plan.box.left, plan.box.top, plan.box.right, plan.box.bottom));
        case RegionPlan::Kind::None:
            break;
    }
    return {};
}

// Subtracts both triangles of one side. CombineRgn needs an existing destination, so the result
// goes into the work region and the two swap roles.
void CutCorners(gdi::OwnedRgn& shape, gdi::OwnedRgn& work, bool rightSide, int width, int height) {
    for (const auto& triangle : CornerCuts(rightSide, width, height)) {
        const gdi::OwnedRgn cut(gdi::CreatePolygonRgn(triangle.data(), 3, gdi::WINDING));
        gdi::CombineRgn(work.get(), shape.get(), cut.get(), gdi::RGN_DIFF);
        std::swap(shape, work);
    }
}

}  // namespace

bool IsSlantShape(std::int32_t shape) {
    return shape == ToInt(ButtonShapeKind::ShapeSlantLeft) || shape == ToInt(ButtonShapeKind::ShapeSlantRight) ||
           shape == ToInt(ButtonShapeKind::ShapeSlantBoth);
}

int SlantRun(int height) { return height + 1; }

int RequiredWidth(std::int32_t shape, int width, int height) {
    if (!IsSlantShape(shape)) return width;
    const std::int64_t flatTop = static_cast<std::int64_t>(width) - SlantRun(height);
    if (flatTop >= MinimumFlatTop) return width;
    // Grow in steps of 5 until the flat top reaches its minimum.
    const std::int64_t steps = (MinimumFlatTop - flatTop + 4) / 5;
    return static_cast<int>(width + 5 * steps);
}

RegionPlan PlanRegions(std::int32_t shape, int width, int height) {
    RegionPlan plan;
    plan.slantRightX = width;
    const gdi::RECT outer{0, 0, width + 1, height + 1};  // one pixel beyond the client area
    switch (shape) {
        case ToInt(ButtonShapeKind::ShapeRectangle):
            plan.kind = RegionPlan::Kind::Rectangle;
            plan.box = outer;
            plan.cutLeft = plan.cutRight = true;
            break;
        case ToInt(ButtonShapeKind::ShapeSlantLeft):
        case ToInt(ButtonShapeKind::ShapeSlantRight):
        case ToInt(ButtonShapeKind::ShapeSlantBoth): {
            const int run = SlantRun(height);
            const int right = width - run;
            plan.kind = RegionPlan::Kind::Polygon;
            plan.polygon = {{{0, 0}, {0, height + 1}, {width + 1, height + 1}, {width + 1, 0}}};
            if (shape != ToInt(ButtonShapeKind::ShapeSlantRight)) {
                plan.polygon[1] = {run, height + 1};
                plan.slantLeftX = run;
            }
            if (shape != ToInt(ButtonShapeKind::ShapeSlantLeft)) {
                plan.polygon[3] = {right + 1, 0};
                plan.slantRightX = right;
            }
            plan.cutLeft = shape == ToInt(ButtonShapeKind::ShapeSlantRight);
            plan.cutRight = shape == ToInt(ButtonShapeKind::ShapeSlantLeft);
            break;
        }
        case ToInt(ButtonShapeKind::ShapeOvalRim):
        case ToInt(ButtonShapeKind::ShapeOvalRimRaised):
        case ToInt(ButtonShapeKind::ShapeOvalOutline): {
            // The outline shape's 2-pixel rim takes one more pixel from the face.
            const int inset = shape == ToInt(ButtonShapeKind::ShapeOvalOutline) ? 2 : 1;
            plan.kind = RegionPlan::Kind::Ellipse;
            plan.box = outer;
            plan.hasFaceClip = true;
            plan.faceClip = {inset, inset, width + 1 - inset, height + 1 - inset};
            break;
        }
        default:
            break;  // an unknown stored shape keeps the window rectangular
    }
    return plan;
}

std::array<std::array<gdi::POINT, 3>, 2> CornerCuts(bool rightSide, int width, int height) {
    if (!rightSide) {
        return {{{{{0, 0}, {2, 0}, {0, 2}}}, {{{0, height}, {3, height}, {0, height - 3}}}}};
    }
    return {{{{{width, 0}, {width - 2, 0}, {width, 2}}},
             {{{width, height}, {width - 3, height}, {width, height - 3}}}}};
}

ShapeGeometry BuildRegions(std::int32_t shape, RenderBuffer& buffer, ButtonHost& host) {
    const int width = ClientWidth(host);
    const int height = ClientHeight(host);
    gdi::OwnedRgn work(gdi::CreateRectRgn(0, 0, 0, 0));
    buffer.SetFaceClip(gdi::HRGN{});

    const RegionPlan plan = PlanRegions(shape, width, height);
    gdi::OwnedRgn outline = CreateShapeRegion(plan);
    if (plan.hasFaceClip) {
        buffer.SetFaceClip(gdi::CreateEllipticRgn(plan.faceClip.left, plan.faceClip.top, plan.faceClip.right,
                                                  plan.faceClip.bottom));
    }
    if (outline) {
        if (plan.cutLeft) CutCorners(outline, work, false, width, height);
        if (plan.cutRight) CutCorners(outline, work, true, width, height);
    }
    // From here the window owns the region.
    host.SetWindowRgn(outline.release(), true);
    return ShapeGeometry{plan.slantLeftX, plan.slantRightX};
}

}  // namespace buttons
