"""The village hen, walking in four directions."""
from sprite_paint import Canvas, ellipse, rect, poly, shade


def hen(spec, facing, frame):
    c = Canvas()
    f = 1 if facing == 3 else facing
    body, comb, beak, leg = spec["feather"], spec["comb"], spec["beak"], spec["leg"]
    wing = spec.get("wing", body)
    tail = spec.get("tail", body)
    eye = shade("grey", 1)
    bob = 1 if frame == 1 else 0
    if f == 1:
        # legs
        if frame == 0:
            c.add({(14, 26), (14, 27), (13, 28), (13, 29), (12, 29)}, leg, shading="flat")
            c.add({(18, 26), (18, 27), (19, 28), (19, 29), (20, 29)}, leg, shading="flat")
        else:
            c.add({(16, 26), (16, 27), (16, 28), (16, 29), (17, 29), (15, 29)}, leg, shading="flat")
        by = 21 - bob
        c.add(poly([(7, by - 7), (10, by - 8), (12, by - 2), (9, by + 1)]), tail, shading="cyl")
        c.add(ellipse(15.5, by, 7.5, 5.5), body, shading="ball")
        c.add(ellipse(21, by - 6, 3.5, 3.5) | rect(19, by - 4, 22, by - 1), body, shading="ball")
        c.add(poly([(13, by - 2), (18, by - 2), (16.5, by + 3), (12, by + 2)]), wing, shading="cyl")
        c.add({(24, by - 6), (25, by - 6), (24, by - 5)}, beak, shading="flat")
        c.add({(20, by - 10), (21, by - 10), (22, by - 10), (21, by - 11), (19, by - 9), (22, by - 9)}, comb,
              shading="flat")
        c.add({(23, by - 4), (23, by - 3)}, comb, shading="flat", line=False)
        c.px(22, by - 7, eye)
    else:
        lift_l = 1 if frame == 0 else 0
        lift_r = 1 - lift_l
        c.add({(13, 26), (13, 27 - lift_l), (12, 29 - lift_l), (13, 29 - lift_l), (14, 29 - lift_l),
               (13, 28 - lift_l)}, leg, shading="flat")
        c.add({(18, 26), (18, 27 - lift_r), (17, 29 - lift_r), (18, 29 - lift_r), (19, 29 - lift_r),
               (18, 28 - lift_r)}, leg, shading="flat")
        by = 21
        if f == 0:
            c.add(ellipse(16, by - 10, 3.5, 3.5), body, shading="ball")
            c.add({(15, by - 15), (16, by - 15), (16, by - 14), (15, by - 14), (17, by - 14)}, comb, shading="flat")
            c.add(ellipse(16, by, 7, 5.5), body, shading="ball")
            c.add(ellipse(9.5, by, 2.5, 4) | ellipse(22.5, by, 2.5, 4), wing, shading="cyl")
            c.add(poly([(12.5, by - 1), (19.5, by - 1), (21, by - 6), (18.5, by - 9), (16, by - 7), (13.5, by - 9),
                        (11, by - 6)]), wing, shading="ball")
            c.pxs({(16, by - 6), (16, by - 5), (14, by - 6), (18, by - 6)}, wing.dark)
        else:
            c.add(poly([(12, by - 6), (20, by - 6), (19, by - 1), (13, by - 1)]), wing, shading="cyl")
            c.add(ellipse(16, by + 0.5, 7, 5.5), body, shading="ball")
            c.add(ellipse(9.5, by + 0.5, 2.5, 4) | ellipse(22.5, by + 0.5, 2.5, 4), wing, shading="cyl")
            c.add(ellipse(16, by - 5, 3.5, 3.5), body, shading="ball")
            c.add({(15, by - 10), (16, by - 10), (16, by - 9), (15, by - 9), (14, by - 9), (17, by - 9)}, comb,
                  shading="flat")
            c.add({(15, by - 4), (16, by - 4), (15, by - 3), (16, by - 3)}, beak, shading="flat")
            c.add({(15, by - 2), (16, by - 2)}, comb, shading="flat", line=False)
            c.px(14, by - 6, eye)
            c.px(17, by - 6, eye)
    return c.render()
