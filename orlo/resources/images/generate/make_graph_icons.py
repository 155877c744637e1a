# Draws the icons of the graph tab and its setup dialog as 32x32 XPM sources
# into the given folder (drawn on a pixel grid, no antialiasing):
#   python3 orlo/resources/images/generate/make_graph_icons.py orlo/resources/images
import math, sys
OUT = sys.argv[1]
N = 32
class C:
    def __init__(s): s.p = [['.']*N for _ in range(N)]; s.pal = {'.': 'None'}
    def col(s, k, c): s.pal[k] = c
    def px(s, x, y, k):
        x=int(round(x)); y=int(round(y))
        if 0<=x<N and 0<=y<N: s.p[y][x]=k
    def line(s, x0,y0,x1,y1,k,w=1):
        n=int(max(abs(x1-x0),abs(y1-y0))*2)+1
        for i in range(n+1):
            x=x0+(x1-x0)*i/n; y=y0+(y1-y0)*i/n
            for dx in range(w):
                for dy in range(w):
                    s.px(x+dx-(w-1)/2,y+dy-(w-1)/2,k)
    def rect(s,x0,y0,x1,y1,k):
        s.line(x0,y0,x1,y0,k); s.line(x1,y0,x1,y1,k); s.line(x1,y1,x0,y1,k); s.line(x0,y1,x0,y0,k)
    def fill(s,x0,y0,x1,y1,k):
        for y in range(y0,y1+1):
            for x in range(x0,x1+1): s.px(x,y,k)
    def dashed(s,x0,y0,x1,y1,k):
        for x in range(x0,x1+1):
            if (x//2)%2==0: s.px(x,y0,k); s.px(x,y1,k)
        for y in range(y0,y1+1):
            if (y//2)%2==0: s.px(x0,y,k); s.px(x1,y,k)
    def disc(s,cx,cy,r,k):
        for y in range(N):
            for x in range(N):
                if (x-cx)**2+(y-cy)**2<=r*r: s.px(x,y,k)
    def ring(s,cx,cy,r,k,w=2):
        for y in range(N):
            for x in range(N):
                d=math.hypot(x-cx,y-cy)
                if r-w<=d<=r: s.px(x,y,k)
    def curve(s,f,x0,x1,k,w=1):
        prev=None
        for x in range(x0,x1+1):
            y=f(x)
            if prev: s.line(prev[0],prev[1],x,y,k,w)
            prev=(x,y)
    def write(s,name,comment):
        keys=sorted(s.pal)
        with open(f"{OUT}/{name}.xpm","w") as fo:
            fo.write("/* XPM */\n/* Drawn for ORLO by generate/make_graph_icons.py: %s */\n" % comment)
            fo.write("static const char* const %s_xpm[] = {\n" % name)
            fo.write('"%d %d %d 1",\n' % (N,N,len(keys)))
            for k in keys: fo.write('"%s c %s",\n' % (k, s.pal[k]))
            for i,row in enumerate(s.p):
                fo.write('"%s"%s\n' % (''.join(row), ',' if i<N-1 else ''))
            fo.write("};\n")

def magnifier(c):
    c.col('g','#3C3C46'); c.col('w','#DCEBFF'); c.col('h','#8C5A28')
    c.disc(12,12,9,'w'); c.ring(12,12,10,'g',2)
    c.line(19,19,28,28,'h',3)

c=C(); magnifier(c); c.col('k','#1E8C1E'); c.line(7,12,17,12,'k',2); c.line(12,7,12,17,'k',2); c.write('zoomin','zoom in')
c=C(); magnifier(c); c.col('k','#C82828'); c.line(7,12,17,12,'k',2); c.write('zoomout','zoom out')
c=C(); magnifier(c); c.col('k','#283CB4')
c.line(8,8,8,16,'k'); c.line(7,9,8,8,'k'); c.px(12,10,'k'); c.px(12,14,'k'); c.line(16,8,16,16,'k'); c.line(15,9,16,8,'k')
c.write('zoom1','zoom one to one')
c=C(); c.col('y','#E6C800'); c.col('k','#3C3C46'); c.col('f','#FFF5B4')
c.fill(3,5,28,20,'f'); c.dashed(3,5,28,20,'k'); c.line(9,5,9,20,'y',2); c.line(22,5,22,20,'y',2)
c.line(9,25,22,25,'k'); c.line(9,25,12,23,'k'); c.line(9,25,12,27,'k'); c.line(22,25,19,23,'k'); c.line(22,25,19,27,'k')
c.write('zoomrect','zoom to the markers')
c=C(); c.col('r','#D22828'); c.col('d','#781414'); c.line(7,7,24,24,'d',5); c.line(24,7,7,24,'d',5); c.line(7,7,24,24,'r',3); c.line(24,7,7,24,'r',3); c.write('fail','clear')
def plotbox(c,x0,y0,x1,y1):
    c.col('b','#101010'); c.col('o','#A0A0A0'); c.fill(x0,y0,x1,y1,'b'); c.rect(x0,y0,x1,y1,'o')
c=C(); plotbox(c,2,2,29,14); plotbox(c,2,17,29,29); c.col('r','#FF3C3C'); c.col('n','#3CFF3C')
c.curve(lambda x: 8+4*math.sin(x/3.0),4,27,'r'); c.curve(lambda x: 23+4*math.cos(x/2.5),4,27,'n'); c.write('graphSplit','split display')
c=C(); plotbox(c,2,4,29,27); c.col('r','#FF3C3C'); c.col('n','#3CFF3C')
c.curve(lambda x: 12+6*math.sin(x/3.0),4,27,'r'); c.curve(lambda x: 19+5*math.cos(x/2.5),4,27,'n'); c.write('graphSingle','single display')
c=C(); c.col('a','#2864C8'); c.col('d','#143C78')
prev=None
for a in range(0,181,6):
    r=math.radians(a); x=16+9*math.cos(r); y=18-9*math.sin(r)
    if prev: c.line(prev[0],prev[1],x,y,'a',3)
    prev=(x,y)
# arrow head at the left end pointing down
c.line(7,18,2,13,'d',2); c.line(7,18,12,13,'d',2); c.line(7,18,7,26,'a',3)
c.write('undo','back to the defaults')
c=C(); c.col('g','#6E7887'); c.col('l','#B4BECD')
c.disc(16,16,10,'g')
for a in range(0,360,45):
    r=math.radians(a); c.line(16+9*math.cos(r),16+9*math.sin(r),16+14*math.cos(r),16+14*math.sin(r),'g',4)
c.disc(16,16,7,'l'); c.disc(16,16,4,'.'); c.write('configure2','setup')
c=C(); c.col('f','#8C5A28'); c.col('s','#78B4F0'); c.col('m','#3C8C3C'); c.col('u','#FFDC32')
c.fill(2,5,29,26,'f'); c.fill(5,8,26,23,'s'); c.disc(21,12,3,'u')
for x in range(5,27):
    top=int(23-max(0,9-abs(x-12)*1.2))
    for y in range(top,24): c.px(x,y,'m')
c.write('frame_image','snapshot')
c=C(); c.col('k','#3C3C46'); c.col('c','#E66E14'); c.col('v','#1E78C8')
c.line(4,3,4,28,'k',2); c.line(4,28,29,28,'k',2)
c.curve(lambda x: 16-9*math.sin((x-5)/4.0)*math.exp(-(x-5)/30.0),6,29,'c',2); c.curve(lambda x: 22-3*math.cos((x-5)/3.0),6,29,'v')
c.write('canGraph','graph setup')
